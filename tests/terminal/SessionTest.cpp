#include "TerminalServerFixture.h"

#include <arpa/inet.h>
#include <cstring>
#include <random>
#include <set>

namespace precivox::test {
namespace {

using SessionTest = TerminalServerTest;

TEST_F(SessionTest, RegisteredTerminalsFillTheFirstFreeSlots) {
    auto seven = registerTerminal(7);
    auto nine = registerTerminal(9);

    auto snapshot = table();
    EXPECT_EQ(snapshot.count, 2);
    EXPECT_EQ(snapshot.terminals[0], 7);
    EXPECT_EQ(snapshot.terminals[1], 9);
    EXPECT_EQ(snapshot.addresses[0], htonl(INADDR_LOOPBACK));
    char text[20];
    server_->TCinet_ntoa(snapshot.addresses[0], text, sizeof text);
    EXPECT_STREQ(text, "127.0.0.1");

    seven.reset();
    EXPECT_TRUE(waitUntil([&] { return table().terminals[0] == 0; })) << "slot freed on close";
    EXPECT_EQ(table().count, 1);

    auto eleven = registerTerminal(11);
    snapshot = table();
    EXPECT_EQ(snapshot.terminals[0], 11);
    EXPECT_EQ(snapshot.terminals[1], 9);
    EXPECT_EQ(snapshot.count, 2);
}

TEST_F(SessionTest, TCinetNtoaNeverWritesPastTheBuffer) {
    const uint8_t bytes[4] = {192, 168, 100, 250};
    uint32_t address;
    std::memcpy(&address, bytes, sizeof address);
    const struct {
        int32_t size;
        std::string text;
    } cases[] = {{20, "192.168.100.250"},
                 {16, "192.168.100.250"},
                 {15, "192.168.100.25"},
                 {4, "192"},
                 {1, ""}};
    for (const auto& c : cases) {
        char buffer[24];
        std::memset(buffer, '#', sizeof buffer);
        server_->TCinet_ntoa(address, buffer, c.size);
        EXPECT_EQ(std::string(buffer), c.text) << "size " << c.size;
        EXPECT_EQ(std::string(buffer + c.size, sizeof buffer - c.size),
                  std::string(sizeof buffer - c.size, '#'))
            << "size " << c.size;
    }
    char untouched = '#';
    server_->TCinet_ntoa(address, &untouched, 0);
    EXPECT_EQ(untouched, '#');
}

TEST_F(SessionTest, RefusedLinesAreAnsweredAndOnlyBadNumbersClose) {
    const struct {
        bool registered;
        std::string line;
        std::string answer;
        bool closes;
    } cases[] = {
        {false, "SCAN 123", "ERROR hello first", false},
        {false, "CONFIG a\tb\tc\td\te\tf\tg\t1", "ERROR hello first", false},
        {false, "PING", "ERROR hello first", false},
        {false, "HELLO 0", "ERROR bad terminal number", true},
        {false, "HELLO 2147483648", "ERROR bad terminal number", true},
        {false, "HELLO seven", "ERROR bad terminal number", true},
        {false, "HELLO", "ERROR bad terminal number", true},
        {true, "HELLO 5", "ERROR already registered", false},
        {true, "HELLO 0", "ERROR already registered", false},
        {true, "PING", "ERROR unknown command", false},
        {true, "CONFIG a\tb", "ERROR bad config", false},
        {true, "CONFIG a\tb\tc\td\te\tf\tg\t300", "ERROR bad config", false},
    };
    for (const auto& c : cases) {
        auto connection = c.registered ? registerTerminal(42) : connect();
        connection->send(c.line + "\n");
        EXPECT_EQ(nextLine(*connection), c.answer) << c.line;
        if (c.closes) {
            EXPECT_TRUE(closedByServer(*connection)) << c.line;
        } else {
            connection->send(c.registered ? "SYNC\n" : "HELLO 43\n");
            EXPECT_EQ(nextLine(*connection), c.registered ? "ERROR unknown command" : "WELCOME 43")
                << c.line << ": the connection still serves";
        }
        connection.reset();
        EXPECT_TRUE(waitUntil([&] { return table().count == 0; })) << c.line;
    }
    EXPECT_TRUE(takeAllScans().empty());
}

TEST_F(SessionTest, RepeatedNumberClosesTheOlderConnection) {
    auto older = registerTerminal(7);
    auto other = registerTerminal(8);
    auto newer = registerTerminal(7);

    EXPECT_TRUE(closedByServer(*older));
    auto snapshot = table();
    EXPECT_EQ(snapshot.count, 2);
    EXPECT_EQ(snapshot.terminals[0], 7) << "the freed slot is taken again";
    EXPECT_EQ(snapshot.terminals[1], 8);

    newer->send("SCAN 1\n");
    sync(*newer);
    EXPECT_EQ(takeAllScans(), (std::vector<TakenScan>{{7, "1"}}));
    ASSERT_TRUE(server_->bSendProdNotFound(7));
    EXPECT_EQ(nextLine(*newer), "NOTFOUND");
}

TEST_F(SessionTest, AllSlotsTakenRefusesTheNextTerminal) {
    allowDescriptors(3 * kTerminalSlots);
    std::vector<std::unique_ptr<TerminalConnection>> terminals;
    for (int32_t number = 1; number <= kTerminalSlots; ++number)
        terminals.push_back(registerTerminal(number));
    EXPECT_EQ(table().count, kTerminalSlots);

    auto refused = connect();
    refused->send("HELLO 5000\n");
    EXPECT_EQ(nextLine(*refused), "ERROR full");
    EXPECT_TRUE(closedByServer(*refused));

    auto& middle = *terminals[499];
    middle.send("SCAN 500\n");
    sync(middle);
    EXPECT_EQ(takeAllScans(), (std::vector<TakenScan>{{500, "500"}}));

    terminals[99].reset();
    ASSERT_TRUE(waitUntil([&] { return table().count == kTerminalSlots - 1; }));
    auto late = registerTerminal(5000);
    EXPECT_EQ(table().terminals[99], 5000);
}

TEST_F(SessionTest, SilentConnectionsAreClosedAfterTheHelloTimeOut) {
    startServer(std::chrono::milliseconds(200));
    auto silent = connect();
    auto chatty = connect();
    chatty->send("PING\n");
    EXPECT_EQ(nextLine(*chatty), "ERROR hello first");
    auto registered = registerTerminal(3);

    EXPECT_TRUE(closedByServer(*silent));
    EXPECT_TRUE(closedByServer(*chatty)) << "a refused line does not restart the time";
    sync(*registered);
    EXPECT_EQ(table().count, 1);
}

TEST_F(SessionTest, OverlongLineClosesOnlyThatConnection) {
    const std::string longest = "SCAN " + std::string(kMaxLineLength - 6, '1') + "\r";
    const struct {
        const char* name;
        std::string bytes;
        bool closes;
        std::vector<TakenScan> delivered;
    } cases[] = {
        {"1023 bytes with a CR", longest + "\n", false, {{1, longest.substr(5)}}},
        {"1024 bytes", "SCAN " + std::string(kMaxLineLength - 4, '2') + "\n", true, {}},
        {"1024 bytes still without LF", "SCAN " + std::string(kMaxLineLength - 4, '3'), true, {}},
        {"a scan, then a long line", "SCAN 4\n" + std::string(5000, '4'), true, {{1, "4"}}},
    };
    auto bystander = registerTerminal(2);
    for (const auto& c : cases) {
        auto connection = registerTerminal(1);
        connection->send(c.bytes);
        if (c.closes) {
            EXPECT_TRUE(closedByServer(*connection)) << c.name;
            EXPECT_TRUE(waitUntil([&] { return table().count == 1; })) << c.name;
        } else {
            sync(*connection);
        }
        EXPECT_EQ(takeAllScans(), c.delivered) << c.name;
        sync(*bystander);
    }
}

TEST_F(SessionTest, BinaryGarbageIsAnsweredLineByLine) {
    auto bystander = registerTerminal(2);
    auto connection = registerTerminal(1);
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<std::size_t> lineLength(0, kMaxLineLength);
    std::string garbage;
    const int lines = 200;
    for (int i = 0; i < lines; ++i) {
        // A leading 0xFF keeps every line clear of the commands.
        garbage += '\xFF';
        for (std::size_t n = lineLength(random); n > 1; --n) {
            const char c = static_cast<char>(byte(random));
            garbage += c == '\n' ? '\0' : c;
        }
        garbage += '\n';
    }
    connection->send(garbage);
    for (int i = 0; i < lines; ++i)
        ASSERT_EQ(nextLine(*connection), "ERROR unknown command") << "line " << i;
    sync(*connection);
    sync(*bystander);
    EXPECT_TRUE(takeAllScans().empty());
    EXPECT_EQ(table().count, 2);
}

TEST_F(SessionTest, HalfALineThenGoneDeliversNothing) {
    auto connection = registerTerminal(1);
    connection->send("SCAN 789");
    connection.reset();
    EXPECT_TRUE(waitUntil([&] { return table().count == 0; }));
    auto next = registerTerminal(1);
    sync(*next);
    EXPECT_TRUE(takeAllScans().empty());
}

TEST_F(SessionTest, HundredsOfTerminalsAreServedTogether) {
    allowDescriptors(3 * kTerminalSlots);
    constexpr int32_t kCount = 300;
    std::vector<std::unique_ptr<TerminalConnection>> terminals;
    for (int32_t number = 1; number <= kCount; ++number)
        terminals.push_back(connect());
    for (int32_t number = 1; number <= kCount; ++number)
        terminals[number - 1]->send("HELLO " + std::to_string(number) + "\nSCAN " +
                                    std::to_string(number) + "\n");
    for (int32_t number = 1; number <= kCount; ++number)
        ASSERT_EQ(nextLine(*terminals[number - 1]), "WELCOME " + std::to_string(number));
    for (auto& terminal : terminals)
        sync(*terminal);

    EXPECT_EQ(table().count, kCount);
    std::set<int32_t> scanned;
    for (const auto& scan : takeAllScans()) {
        EXPECT_EQ(std::to_string(scan.terminal), scan.barcode);
        scanned.insert(scan.terminal);
    }
    EXPECT_EQ(scanned.size(), static_cast<std::size_t>(kCount));

    for (int32_t number = 1; number <= kCount; number += 2)
        terminals[number - 1].reset();
    ASSERT_TRUE(waitUntil([&] { return table().count == kCount / 2; }));
    for (int32_t number = 2; number <= kCount; number += 2)
        EXPECT_TRUE(server_->bEnviaVivo(number));
    for (int32_t number = 2; number <= kCount; number += 2)
        EXPECT_EQ(nextLine(*terminals[number - 1]), "ALIVE");
}

} // namespace
} // namespace precivox::test
