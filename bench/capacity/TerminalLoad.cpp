#include "TerminalLoad.h"

#include "Protocol.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <optional>
#include <random>
#include <stdexcept>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace precivox::capacity {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kRegisterPatience = std::chrono::seconds(30);
constexpr auto kLastAnswerPatience = std::chrono::seconds(3);
constexpr auto kSilenceWorthNoting = std::chrono::seconds(2);
// The program sends every keep-alive of a tick within milliseconds: arrivals further
// apart than this belong to different ticks.
constexpr auto kTickGap = std::chrono::milliseconds(300);

[[noreturn]] void raiseSystemError(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

double millisBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() { reset(); }
    Descriptor(Descriptor&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
    Descriptor& operator=(Descriptor&&) = delete;

    int get() const { return descriptor_; }
    void reset() {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        descriptor_ = -1;
    }

private:
    int descriptor_;
};

struct Terminal {
    Terminal(Descriptor connection, int32_t terminalNumber)
        : socket(std::move(connection)), number(terminalNumber) {}

    enum class State { Connecting, Registering, Registered, Closed };

    Descriptor socket;
    int32_t number;
    State state = State::Connecting;
    LineSplitter splitter;
    std::size_t keepAlives = 0; // within the span
    Clock::time_point lastKeepAlive;
    Clock::duration longestSilence{};
};

class LoadRun {
public:
    explicit LoadRun(const LoadOptions& options)
        : options_(options), epoll_(::epoll_create1(EPOLL_CLOEXEC)) {
        if (epoll_.get() < 0)
            raiseSystemError("epoll_create1");
    }

    LoadResult run(const SpanHooks& hooks) {
        const auto began = Clock::now();
        connectAll();
        serveUntil(began + kRegisterPatience, [this] { return registered_ == options_.terminals; });
        if (registered_ < options_.terminals)
            throw std::runtime_error(std::to_string(registered_) + " of " +
                                     std::to_string(options_.terminals) +
                                     " terminals welcomed within 30 s");

        if (hooks.started)
            hooks.started();
        spanStart_ = Clock::now();
        result_.connectSeconds = millisBetween(began, spanStart_) / 1000;
        for (auto& terminal : terminals_)
            terminal.lastKeepAlive = spanStart_;
        inSpan_ = true;
        nextScan_ = spanStart_ + pause();
        serveUntil(spanStart_ + options_.duration, [] { return false; });
        inSpan_ = false;
        spanEnd_ = Clock::now();
        if (hooks.ended)
            hooks.ended();

        nextScan_ = Clock::time_point::max();
        serveUntil(spanEnd_ + kLastAnswerPatience, [this] { return !scanSentAt_; });
        summarize();
        return result_;
    }

private:
    void connectAll() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(options_.port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        terminals_.reserve(static_cast<std::size_t>(options_.terminals));
        for (int i = 0; i < options_.terminals; ++i) {
            Descriptor socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
            if (socket.get() < 0)
                raiseSystemError("socket for terminal " + std::to_string(i + 1) +
                                 " (is the open-files limit high enough?)");
            // Each line waits for nothing after it: Nagle would only hold the scans back.
            const int on = 1;
            ::setsockopt(socket.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address),
                          sizeof address) != 0 &&
                errno != EINPROGRESS)
                raiseSystemError("connect to 127.0.0.1:" + std::to_string(options_.port));
            epoll_event event{};
            event.events = EPOLLOUT;
            event.data.u64 = static_cast<uint64_t>(i);
            if (::epoll_ctl(epoll_.get(), EPOLL_CTL_ADD, socket.get(), &event) != 0)
                raiseSystemError("epoll_ctl");
            terminals_.emplace_back(std::move(socket), options_.firstNumber + i);
        }
    }

    template <typename Done> void serveUntil(Clock::time_point deadline, Done done) {
        std::array<epoll_event, 256> events;
        while (!done()) {
            const auto now = Clock::now();
            if (now >= deadline)
                return;
            if (now >= nextScan_)
                scan(now);
            const auto wake = std::min(deadline, nextScan_);
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(wake - now).count();
            const int ready = ::epoll_wait(epoll_.get(), events.data(),
                                           static_cast<int>(events.size()), static_cast<int>(wait));
            if (ready < 0) {
                if (errno == EINTR)
                    continue;
                raiseSystemError("epoll_wait");
            }
            for (int i = 0; i < ready; ++i)
                serve(terminals_[events[static_cast<std::size_t>(i)].data.u64],
                      events[static_cast<std::size_t>(i)].events);
        }
    }

    void serve(Terminal& terminal, uint32_t events) {
        if (terminal.state == Terminal::State::Closed)
            return;
        if (terminal.state == Terminal::State::Connecting)
            finishConnect(terminal);
        else if (events & (EPOLLIN | EPOLLERR | EPOLLHUP))
            receive(terminal);
    }

    void finishConnect(Terminal& terminal) {
        int error = 0;
        socklen_t length = sizeof error;
        ::getsockopt(terminal.socket.get(), SOL_SOCKET, SO_ERROR, &error, &length);
        if (error != 0) {
            close(terminal, "cannot connect to 127.0.0.1:" + std::to_string(options_.port) + ": " +
                                std::strerror(error));
            return;
        }
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.u64 = static_cast<uint64_t>(&terminal - terminals_.data());
        if (::epoll_ctl(epoll_.get(), EPOLL_CTL_MOD, terminal.socket.get(), &event) != 0)
            raiseSystemError("epoll_ctl");
        terminal.state = Terminal::State::Registering;
        send(terminal, "HELLO " + std::to_string(terminal.number) + '\n');
    }

    void send(Terminal& terminal, const std::string& line) {
        // A line of a few bytes always fits an empty socket buffer; a short send means
        // the program stopped reading.
        const auto sent = ::send(terminal.socket.get(), line.data(), line.size(), MSG_NOSIGNAL);
        if (sent != static_cast<ssize_t>(line.size()))
            close(terminal, sent < 0 ? std::string("send: ") + std::strerror(errno)
                                     : std::string("send: the program reads nothing"));
    }

    void receive(Terminal& terminal) {
        std::array<char, 4096> buffer;
        const auto received = ::recv(terminal.socket.get(), buffer.data(), buffer.size(), 0);
        if (received < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        if (received <= 0) {
            close(terminal, received == 0 ? std::string("the program closed the connection")
                                          : std::string("recv: ") + std::strerror(errno));
            return;
        }
        const auto at = Clock::now();
        lines_.clear();
        const bool withinLimit =
            terminal.splitter.feed({buffer.data(), static_cast<std::size_t>(received)}, lines_);
        for (const auto& line : lines_)
            handleLine(terminal, line, at);
        if (!withinLimit)
            close(terminal, "a line longer than the protocol allows");
    }

    void handleLine(Terminal& terminal, const std::string& line, Clock::time_point at) {
        if (line == "ALIVE") {
            if (inSpan_)
                countKeepAlive(terminal, at);
        } else if (line.starts_with("WELCOME ")) {
            if (terminal.state == Terminal::State::Registering) {
                terminal.state = Terminal::State::Registered;
                ++registered_;
            }
        } else if (line.starts_with("PRICE ") || line == "NOTFOUND") {
            takeAnswer(terminal, line, at);
        } else if (line.starts_with("ERROR")) {
            if (terminal.state != Terminal::State::Registered)
                throw std::runtime_error("terminal " + std::to_string(terminal.number) +
                                         " refused: " + line);
            if (result_.errorLines++ == 0)
                result_.firstErrorLine = line;
        }
    }

    void countKeepAlive(Terminal& terminal, Clock::time_point at) {
        ++terminal.keepAlives;
        terminal.longestSilence = std::max(terminal.longestSilence, at - terminal.lastKeepAlive);
        terminal.lastKeepAlive = at;
        keepAliveTimes_.push_back(at);
    }

    void scan(Clock::time_point now) {
        nextScan_ = Clock::time_point::max();
        Terminal& scanner = terminals_.front();
        if (scanner.state != Terminal::State::Registered)
            return;
        scanSentAt_ = now;
        ++result_.scansSent;
        send(scanner, "SCAN " + options_.barcode + '\n');
    }

    void takeAnswer(const Terminal& terminal, const std::string& line, Clock::time_point at) {
        if (&terminal != &terminals_.front() || !scanSentAt_) {
            ++result_.strayAnswers;
            return;
        }
        result_.answerMs.push_back(millisBetween(*scanSentAt_, at));
        scanSentAt_.reset();
        if (result_.firstAnswer.empty())
            result_.firstAnswer = line;
        else if (line != result_.firstAnswer)
            ++result_.unlikeAnswers;
        if (inSpan_)
            nextScan_ = at + pause();
    }

    void close(Terminal& terminal, const std::string& why) {
        const bool registered = terminal.state == Terminal::State::Registered;
        terminal.socket.reset();
        terminal.state = Terminal::State::Closed;
        if (!registered)
            throw std::runtime_error("terminal " + std::to_string(terminal.number) + ": " + why);
        if (inSpan_)
            ++result_.closedByServer;
    }

    Clock::duration pause() { return std::chrono::milliseconds(pauseMs_(random_)); }

    void summarize() {
        result_.spanSeconds = millisBetween(spanStart_, spanEnd_) / 1000;
        result_.fewestKeepAlives = terminals_.front().keepAlives;
        for (auto& terminal : terminals_) {
            // A terminal whose keep-alives stopped is silent up to the span's end.
            const auto silence =
                std::max(terminal.longestSilence, spanEnd_ - terminal.lastKeepAlive);
            const auto seconds = std::chrono::duration<double>(silence).count();
            result_.longestSilenceSeconds = std::max(result_.longestSilenceSeconds, seconds);
            if (silence > kSilenceWorthNoting)
                ++result_.silentTerminals;
            result_.keepAlives += terminal.keepAlives;
            result_.fewestKeepAlives = std::min(result_.fewestKeepAlives, terminal.keepAlives);
            result_.mostKeepAlives = std::max(result_.mostKeepAlives, terminal.keepAlives);
        }
        std::sort(keepAliveTimes_.begin(), keepAliveTimes_.end());
        for (std::size_t first = 0, i = 0; i < keepAliveTimes_.size(); ++i) {
            const bool tickEnds = i + 1 == keepAliveTimes_.size() ||
                                  keepAliveTimes_[i + 1] - keepAliveTimes_[i] > kTickGap;
            if (tickEnds) {
                result_.keepAliveSpreadsMs.push_back(
                    millisBetween(keepAliveTimes_[first], keepAliveTimes_[i]));
                first = i + 1;
            }
        }
    }

    const LoadOptions& options_;
    Descriptor epoll_;
    std::vector<Terminal> terminals_; // the epoll entries hold indexes into it
    std::vector<std::string> lines_;
    int registered_ = 0;
    bool inSpan_ = false;
    Clock::time_point spanStart_, spanEnd_;
    Clock::time_point nextScan_ = Clock::time_point::max();
    std::optional<Clock::time_point> scanSentAt_;
    // Seeded alike on every run, so that two runs scan at the same pauses.
    std::mt19937 random_{20260310};
    std::uniform_int_distribution<int> pauseMs_{0, 999};
    std::vector<Clock::time_point> keepAliveTimes_;
    LoadResult result_;
};

} // namespace

LoadResult runTerminalLoad(const LoadOptions& options, const SpanHooks& hooks) {
    return LoadRun(options).run(hooks);
}

} // namespace precivox::capacity
