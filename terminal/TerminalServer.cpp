#include "TerminalServer.h"

#include "TerminalTables.h"

#include <algorithm>
#include <array>
#include <asio.hpp>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace precivox {

namespace {

using asio::ip::tcp;

constexpr std::size_t kMaxUnsentOutput = 64 * 1024;
constexpr std::size_t kReadChunk = 4096;
// An accept that fails for want of descriptors would fail again at once.
constexpr auto kAcceptRetryDelay = std::chrono::milliseconds(100);
constexpr const char* kLogPrefix = "precivox terminal server: ";

// One terminal connection. Socket, timer, read buffer, splitter and inFlight belong to
// the I/O thread; the server's lock guards the rest.
struct Session {
    Session(tcp::socket connection, uint32_t networkAddress)
        : socket(std::move(connection)), helloTimer(socket.get_executor()),
          address(networkAddress) {}

    enum class State { Open, ClosingAfterOutput, Closed };

    tcp::socket socket;
    asio::steady_timer helloTimer;
    const uint32_t address;
    std::array<char, kReadChunk> readBuffer{};
    LineSplitter splitter;
    std::string inFlight;

    State state = State::Open;
    int32_t terminal = 0; // 0 until registered
    int slot = -1;
    std::string outgoing;
    std::size_t unsentBytes = 0; // outgoing and inFlight
    bool writing = false;
    // Dropped in a row. A flooding terminal would write the log full with a line per
    // dropped line: the first drop of a run is logged, the run's length when it ends.
    std::size_t scansDropped = 0;
    std::size_t configsDropped = 0;
};

using SessionPtr = std::shared_ptr<Session>;

uint32_t networkOrder(const asio::ip::address& address) {
    uint32_t value = 0;
    if (address.is_v4()) {
        const auto bytes = address.to_v4().to_bytes();
        std::memcpy(&value, bytes.data(), sizeof value);
    }
    return value;
}

std::string refusedListenValue(const char* source, const std::string& value) {
    return std::string(source) + " value \"" + value +
           "\" is not ADDRESS:PORT (an IPv4 address and a port from 1 to 65535); using " +
           formatListenAddress(kDefaultListenAddress);
}

} // namespace

struct TerminalServer::Impl {
    explicit Impl(TerminalServerOptions serverOptions) : options(std::move(serverOptions)) {}

    ~Impl() {
        io.stop();
        if (thread.joinable())
            thread.join();
    }

    void logLocked(const std::string& line) { options.log.get() << kLogPrefix << line << '\n'; }

    ListenAddress chooseListenAddressLocked();
    void start();
    void runIoThread();
    void acceptNext();
    void startSession(tcp::socket socket);
    void readNext(const SessionPtr& session);
    void receivedLocked(const SessionPtr& session, std::string_view bytes);
    void handleLineLocked(const SessionPtr& session, std::string_view text);
    void registerLocked(const SessionPtr& session, int32_t terminal);
    void scanLocked(Session& session, std::string barcode);
    void configLocked(Session& session, TConfigTerminal config);
    void endDropRunLocked(std::size_t& dropped, const char* what, int32_t terminal);
    bool queueLocked(const SessionPtr& session, std::string_view line);
    void writeNextLocked(const SessionPtr& session);
    void closeAfterOutputLocked(const SessionPtr& session);
    // By value: the caller's pointer may be the one in `sessions` that this erases.
    void closeLocked(SessionPtr session);
    bool sendTo(int32_t terminal, std::string_view line);

    const TerminalServerOptions options;
    asio::io_context io;
    tcp::acceptor acceptor{io};
    asio::steady_timer acceptRetry{io};
    std::atomic<uint16_t> port{0};
    bool started = false; // caller's thread only

    std::mutex mutex;
    TerminalTables tables;
    std::unordered_map<int32_t, SessionPtr> sessions; // registered ones, by terminal number
    std::array<uint8_t, kBarcodeBufferSize> barcodeBuffer{};

    std::thread thread;
};

ListenAddress TerminalServer::Impl::chooseListenAddressLocked() {
    if (options.endpoint)
        return *options.endpoint;
    if (options.listen) {
        if (auto address = parseListenAddress(*options.listen))
            return *address;
        logLocked(refusedListenValue("--listen", *options.listen));
        return kDefaultListenAddress;
    }
    // An empty variable counts as unset, as shells make it easy to leave one empty.
    const char* variable = std::getenv(kListenVariable);
    if (variable == nullptr || *variable == '\0')
        return kDefaultListenAddress;
    if (auto address = parseListenAddress(variable))
        return *address;
    logLocked(refusedListenValue(kListenVariable, variable));
    return kDefaultListenAddress;
}

void TerminalServer::Impl::start() {
    if (started)
        return;
    started = true;

    std::lock_guard lock(mutex);
    const ListenAddress address = chooseListenAddressLocked();
    const tcp::endpoint endpoint(asio::ip::address_v4(address.address), address.port);
    std::error_code error;
    acceptor.open(endpoint.protocol(), error);
    if (!error)
        acceptor.set_option(tcp::acceptor::reuse_address(true), error);
    if (!error)
        acceptor.bind(endpoint, error);
    if (!error)
        acceptor.listen(asio::socket_base::max_listen_connections, error);
    if (error) {
        logLocked("cannot listen on " + formatListenAddress(address) + ": " + error.message());
        std::error_code ignored;
        acceptor.close(ignored);
        return;
    }
    port = acceptor.local_endpoint(error).port();
    logLocked("listening on " + formatListenAddress({address.address, port}));
    acceptNext();
    thread = std::thread([this] { runIoThread(); });
}

void TerminalServer::Impl::runIoThread() {
    // Nothing may leave the thread: a handler that throws is logged and the loop goes on.
    for (;;) {
        try {
            io.run();
            return;
        } catch (const std::exception& exception) {
            std::lock_guard lock(mutex);
            logLocked(std::string("I/O thread error: ") + exception.what());
        } catch (...) {
            std::lock_guard lock(mutex);
            logLocked("I/O thread error");
        }
    }
}

void TerminalServer::Impl::acceptNext() {
    acceptor.async_accept([this](std::error_code error, tcp::socket socket) {
        if (error == asio::error::operation_aborted)
            return;
        if (error) {
            acceptRetry.expires_after(kAcceptRetryDelay);
            acceptRetry.async_wait([this](std::error_code waitError) {
                if (!waitError)
                    acceptNext();
            });
            return;
        }
        startSession(std::move(socket));
        acceptNext();
    });
}

void TerminalServer::Impl::startSession(tcp::socket socket) {
    std::error_code error;
    const auto remote = socket.remote_endpoint(error);
    if (error)
        return; // gone before it was looked at
    socket.set_option(tcp::no_delay(true), error);
    auto session = std::make_shared<Session>(std::move(socket), networkOrder(remote.address()));
    session->helloTimer.expires_after(options.helloTimeout);
    session->helloTimer.async_wait([this, session](std::error_code waitError) {
        std::lock_guard lock(mutex);
        if (!waitError && session->terminal == 0)
            closeLocked(session);
    });
    readNext(session);
}

void TerminalServer::Impl::readNext(const SessionPtr& session) {
    session->socket.async_read_some(asio::buffer(session->readBuffer),
                                    [this, session](std::error_code error, std::size_t size) {
                                        std::lock_guard lock(mutex);
                                        if (session->state != Session::State::Open)
                                            return;
                                        if (error) {
                                            closeLocked(session);
                                            return;
                                        }
                                        receivedLocked(session, {session->readBuffer.data(), size});
                                    });
}

void TerminalServer::Impl::receivedLocked(const SessionPtr& session, std::string_view bytes) {
    std::vector<std::string> lines;
    const bool withinLimit = session->splitter.feed(bytes, lines);
    for (const auto& line : lines) {
        handleLineLocked(session, line);
        if (session->state != Session::State::Open)
            return;
    }
    if (!withinLimit) {
        closeLocked(session);
        return;
    }
    readNext(session);
}

void TerminalServer::Impl::handleLineLocked(const SessionPtr& session, std::string_view text) {
    auto line = parseTerminalLine(text);
    const bool hello =
        std::holds_alternative<HelloLine>(line) || std::holds_alternative<BadHelloLine>(line);
    if (session->terminal == 0) {
        if (const auto* valid = std::get_if<HelloLine>(&line)) {
            registerLocked(session, valid->terminal);
        } else if (hello) {
            queueLocked(session, errorLine(kErrorBadTerminalNumber));
            closeAfterOutputLocked(session);
        } else {
            queueLocked(session, errorLine(kErrorHelloFirst));
        }
        return;
    }
    if (hello)
        queueLocked(session, errorLine(kErrorAlreadyRegistered));
    else if (auto* scan = std::get_if<ScanLine>(&line))
        scanLocked(*session, std::move(scan->barcode));
    else if (const auto* config = std::get_if<ConfigLine>(&line))
        configLocked(*session, config->config);
    else if (std::holds_alternative<BadConfigLine>(line))
        queueLocked(session, errorLine(kErrorBadConfig));
    else
        queueLocked(session, errorLine(kErrorUnknownCommand));
}

void TerminalServer::Impl::registerLocked(const SessionPtr& session, int32_t terminal) {
    // A restarted terminal comes back before its old connection has timed out.
    if (const auto older = sessions.find(terminal); older != sessions.end())
        closeLocked(older->second);

    const auto slot = tables.occupy(terminal, session->address);
    if (!slot) {
        queueLocked(session, errorLine(kErrorFull));
        closeAfterOutputLocked(session);
        return;
    }
    session->terminal = terminal;
    session->slot = *slot;
    sessions[terminal] = session;
    session->helloTimer.cancel();
    queueLocked(session, welcomeLine(terminal));
}

void TerminalServer::Impl::scanLocked(Session& session, std::string barcode) {
    const auto queued = tables.pushScan(session.terminal, std::move(barcode));
    if (queued == ScanQueued::Yes) {
        endDropRunLocked(session.scansDropped, "scans", session.terminal);
        return;
    }
    if (session.scansDropped++ > 0)
        return;
    const std::string prefix =
        "scan of terminal " + std::to_string(session.terminal) + " dropped: ";
    if (queued == ScanQueued::TerminalFull)
        logLocked(prefix + std::to_string(kMaxScansPerTerminal) + " of its scans already waiting");
    else
        logLocked(prefix + std::to_string(kMaxScans) + " scans already waiting");
}

void TerminalServer::Impl::configLocked(Session& session, TConfigTerminal config) {
    config.terminal = session.terminal;
    if (tables.pushConfig(config))
        endDropRunLocked(session.configsDropped, "configurations", session.terminal);
    else if (session.configsDropped++ == 0)
        logLocked("configuration of terminal " + std::to_string(session.terminal) +
                  " dropped: " + std::to_string(kMaxConfigReplies) + " already waiting");
}

void TerminalServer::Impl::endDropRunLocked(std::size_t& dropped, const char* what,
                                            int32_t terminal) {
    if (dropped > 1)
        logLocked("terminal " + std::to_string(terminal) + ": " + std::to_string(dropped) + " " +
                  what + " dropped in a row");
    dropped = 0;
}

bool TerminalServer::Impl::queueLocked(const SessionPtr& session, std::string_view line) {
    if (session->state != Session::State::Open)
        return false;
    if (session->unsentBytes + line.size() > kMaxUnsentOutput) {
        closeLocked(session); // it reads nothing: holding more would only grow
        return false;
    }
    session->outgoing.append(line);
    session->unsentBytes += line.size();
    if (!session->writing) {
        session->writing = true;
        asio::post(io, [this, session] {
            std::lock_guard lock(mutex);
            writeNextLocked(session);
        });
    }
    return true;
}

// I/O thread only.
void TerminalServer::Impl::writeNextLocked(const SessionPtr& session) {
    if (session->state == Session::State::Closed)
        return;
    if (session->outgoing.empty()) {
        session->writing = false;
        if (session->state == Session::State::ClosingAfterOutput) {
            session->state = Session::State::Closed;
            std::error_code ignored;
            session->socket.shutdown(tcp::socket::shutdown_both, ignored);
            session->socket.close(ignored);
            session->helloTimer.cancel();
        }
        return;
    }
    session->inFlight.swap(session->outgoing);
    session->outgoing.clear();
    asio::async_write(session->socket, asio::buffer(session->inFlight),
                      [this, session](std::error_code error, std::size_t size) {
                          std::lock_guard lock(mutex);
                          session->unsentBytes -= size;
                          session->inFlight.clear();
                          if (error)
                              closeLocked(session);
                          else
                              writeNextLocked(session);
                      });
}

void TerminalServer::Impl::closeAfterOutputLocked(const SessionPtr& session) {
    session->state = Session::State::ClosingAfterOutput;
}

void TerminalServer::Impl::closeLocked(SessionPtr session) {
    if (session->state == Session::State::Closed)
        return;
    session->state = Session::State::Closed;
    endDropRunLocked(session->scansDropped, "scans", session->terminal);
    endDropRunLocked(session->configsDropped, "configurations", session->terminal);
    if (session->slot >= 0) {
        tables.release(session->slot);
        sessions.erase(session->terminal);
        session->slot = -1;
    }
    session->outgoing.clear();
    // The socket belongs to the I/O thread; the slot above is free already.
    asio::post(io, [session = std::move(session)] {
        std::error_code ignored;
        session->socket.close(ignored);
        session->helloTimer.cancel();
    });
}

bool TerminalServer::Impl::sendTo(int32_t terminal, std::string_view line) {
    std::lock_guard lock(mutex);
    const auto session = sessions.find(terminal);
    return session != sessions.end() && queueLocked(session->second, line);
}

TerminalServer::TerminalServer(TerminalServerOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}

TerminalServer::~TerminalServer() = default;

void TerminalServer::vInitialize() {
    // Everything is ready once constructed; kept for the callers' start-up order.
}

void TerminalServer::tc_startserver() {
    impl_->start();
}

bool TerminalServer::bReceiveBarcode(int32_t& terminal, int32_t& unused, const uint8_t*& buffer,
                                     int32_t& length) {
    std::lock_guard lock(impl_->mutex);
    auto scan = impl_->tables.popScan();
    if (!scan)
        return false;
    auto& bytes = impl_->barcodeBuffer;
    // Lines are shorter than the buffer, but the zero byte must fit whatever comes.
    const auto size = std::min(scan->barcode.size(), bytes.size() - 2);
    bytes[0] = 0;
    std::memcpy(bytes.data() + 1, scan->barcode.data(), size);
    bytes[1 + size] = 0;
    terminal = scan->terminal;
    unused = 0;
    buffer = bytes.data();
    length = static_cast<int32_t>(size);
    return true;
}

bool TerminalServer::bSendProdPrice(int32_t terminal, const char* description,
                                    int32_t descriptionSize, const char* price, int32_t priceSize) {
    return impl_->sendTo(terminal, priceLine(boundedText(description, descriptionSize),
                                             boundedText(price, priceSize)));
}

bool TerminalServer::bSendProdNotFound(int32_t terminal) {
    return impl_->sendTo(terminal, notFoundLine());
}

bool TerminalServer::bEnviaVivo(int32_t terminal) {
    return impl_->sendTo(terminal, aliveLine());
}

bool TerminalServer::bPedeConfig(int32_t terminal) {
    return impl_->sendTo(terminal, getConfigLine());
}

bool TerminalServer::bReceiveConfig(TConfigTerminal** config) {
    if (config == nullptr || *config == nullptr)
        return false;
    std::lock_guard lock(impl_->mutex);
    const auto reply = impl_->tables.popConfig();
    if (!reply)
        return false;
    **config = *reply;
    return true;
}

bool TerminalServer::bMandaConfig(const TConfigTerminal* config) {
    if (config == nullptr)
        return false;
    return impl_->sendTo(config->terminal, setConfigLine(*config));
}

void TerminalServer::GetTabConectados(int32_t /*one*/, TTabConectados* table) {
    if (table == nullptr)
        return;
    std::lock_guard lock(impl_->mutex);
    impl_->tables.snapshot(*table);
}

void TerminalServer::TCinet_ntoa(uint32_t address, char* buffer, int32_t size) {
    if (buffer == nullptr || size <= 0)
        return;
    const auto text = formatIpv4(address);
    const auto length = std::min(text.size(), static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

uint16_t TerminalServer::listeningPort() const {
    return impl_->port;
}

} // namespace precivox
