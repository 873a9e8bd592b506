#include "TerminalServerFixture.h"

#include <sys/resource.h>
#include <thread>

namespace precivox::test {

void TerminalServerTest::startServer(std::chrono::milliseconds helloTimeout) {
    TerminalServerOptions options;
    options.endpoint = kLoopbackAnyPort;
    options.helloTimeout = helloTimeout;
    options.log = log_;
    server_ = std::make_unique<TerminalServer>(options);
    server_->vInitialize();
    server_->tc_startserver();
    ASSERT_NE(server_->listeningPort(), 0) << log_.str();
}

std::string TerminalServerTest::stopServerAndReadLog() {
    server_.reset();
    return log_.str();
}

std::unique_ptr<TerminalConnection> TerminalServerTest::connect() {
    return std::make_unique<TerminalConnection>("127.0.0.1", server_->listeningPort(), kPatience);
}

std::unique_ptr<TerminalConnection> TerminalServerTest::registerTerminal(int32_t number) {
    auto connection = connect();
    connection->send("HELLO " + std::to_string(number) + "\n");
    EXPECT_EQ(nextLine(*connection), "WELCOME " + std::to_string(number));
    return connection;
}

TTabConectados TerminalServerTest::table() {
    TTabConectados snapshot;
    server_->GetTabConectados(1, &snapshot);
    return snapshot;
}

std::vector<TakenScan> TerminalServerTest::takeAllScans() {
    std::vector<TakenScan> scans;
    int32_t terminal = 0;
    int32_t unused = -1;
    const uint8_t* buffer = nullptr;
    int32_t length = -1;
    while (server_->bReceiveBarcode(terminal, unused, buffer, length))
        scans.push_back({terminal, std::string(reinterpret_cast<const char*>(buffer) + 1,
                                               static_cast<std::size_t>(length))});
    return scans;
}

std::string nextLine(TerminalConnection& connection) {
    auto reading = connection.readLine(kPatience);
    EXPECT_EQ(reading.status, TerminalConnection::Status::Line) << "no line from the server";
    return reading.line;
}

bool closedByServer(TerminalConnection& connection) {
    for (;;) {
        const auto reading = connection.readLine(kPatience);
        if (reading.status != TerminalConnection::Status::Line)
            return reading.status == TerminalConnection::Status::Closed;
    }
}

void sync(TerminalConnection& connection) {
    connection.send("SYNC\n");
    EXPECT_EQ(nextLine(connection), "ERROR unknown command");
}

bool waitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void allowDescriptors(std::size_t count) {
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
    if (limit.rlim_cur >= count)
        return;
    ASSERT_GE(limit.rlim_max, count) << "the open-files limit is too low for this test";
    limit.rlim_cur = count;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
}

} // namespace precivox::test
