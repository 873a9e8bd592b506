#include "TerminalServerFixture.h"
#include "TerminalTables.h"

#include <cstring>

namespace precivox::test {
namespace {

using QueueTest = TerminalServerTest;

TEST_F(QueueTest, BarcodeBufferHoldsTheScanAsZeroTerminatedText) {
    const struct {
        std::string line;
        std::string barcode;
    } cases[] = {
        {"SCAN 7891234567895\n", "7891234567895"},
        {"SCAN 123\r\n", "123\r"},
        {"SCAN  7 \n", " 7 "},
        {"SCAN \n", ""},
        {"SCAN\n", ""},
        {"SCAN\r\n", ""},
        {"SCAN CAF\xC9\n", "CAF\xC9"},
    };
    auto connection = registerTerminal(31);
    for (const auto& c : cases) {
        connection->send(c.line);
        sync(*connection);
        int32_t terminal = 0;
        int32_t unused = -1;
        const uint8_t* buffer = nullptr;
        int32_t length = -1;
        ASSERT_TRUE(server_->bReceiveBarcode(terminal, unused, buffer, length)) << c.line;
        EXPECT_EQ(terminal, 31);
        EXPECT_EQ(unused, 0);
        ASSERT_EQ(length, static_cast<int32_t>(c.barcode.size())) << c.line;
        EXPECT_EQ(buffer[0], 0);
        EXPECT_EQ(std::memcmp(buffer + 1, c.barcode.data(), c.barcode.size()), 0) << c.line;
        EXPECT_EQ(buffer[1 + length], 0) << c.line;
        EXPECT_FALSE(server_->bReceiveBarcode(terminal, unused, buffer, length));
    }
}

TEST_F(QueueTest, ScansComeInArrivalOrderOverAllTerminals) {
    auto one = registerTerminal(1);
    auto two = registerTerminal(2);
    one->send("SCAN a\n");
    sync(*one);
    two->send("SCAN b\n");
    sync(*two);
    one->send("SCAN c\n");
    sync(*one);
    EXPECT_EQ(takeAllScans(), (std::vector<TakenScan>{{1, "a"}, {2, "b"}, {1, "c"}}));
}

TEST_F(QueueTest, TerminalHasAtMostEightScansWaiting) {
    auto busy = registerTerminal(1);
    auto quiet = registerTerminal(2);
    std::string scans;
    for (int i = 1; i <= 10; ++i)
        scans += "SCAN " + std::to_string(i) + "\n";
    busy->send(scans);
    sync(*busy);
    quiet->send("SCAN q\n");
    sync(*quiet);

    std::vector<TakenScan> expected;
    for (int i = 1; i <= 8; ++i)
        expected.push_back({1, std::to_string(i)});
    expected.push_back({2, "q"});
    EXPECT_EQ(takeAllScans(), expected);

    busy->send("SCAN 11\n");
    sync(*busy);
    EXPECT_EQ(takeAllScans(), (std::vector<TakenScan>{{1, "11"}})) << "room again once taken";

    const auto log = stopServerAndReadLog();
    EXPECT_NE(log.find("scan of terminal 1 dropped: 8 of its scans already waiting\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("terminal 2"), std::string::npos) << log;
}

TEST_F(QueueTest, WholeQueueHoldsAtMost1024Scans) {
    allowDescriptors(3 * kTerminalSlots);
    constexpr int32_t kTerminals = kMaxScans / kMaxScansPerTerminal + 1;
    std::vector<std::unique_ptr<TerminalConnection>> terminals;
    for (int32_t number = 1; number <= kTerminals; ++number) {
        terminals.push_back(registerTerminal(number));
        std::string scans;
        for (std::size_t i = 0; i < kMaxScansPerTerminal; ++i)
            scans += "SCAN " + std::to_string(number) + "\n";
        terminals.back()->send(scans);
        sync(*terminals.back());
    }
    const auto scans = takeAllScans();
    ASSERT_EQ(scans.size(), kMaxScans);
    EXPECT_EQ(scans.front(), (TakenScan{1, "1"}));
    EXPECT_EQ(scans.back(), (TakenScan{kTerminals - 1, std::to_string(kTerminals - 1)}));

    terminals.back()->send("SCAN again\n");
    sync(*terminals.back());
    EXPECT_EQ(takeAllScans(), (std::vector<TakenScan>{{kTerminals, "again"}}));

    const auto log = stopServerAndReadLog();
    EXPECT_NE(log.find("scan of terminal 129 dropped: 1024 scans already waiting\n"),
              std::string::npos)
        << log;
}

TEST_F(QueueTest, ConfigReplyFillsTheCallersRecord) {
    auto connection = registerTerminal(12);
    ASSERT_TRUE(server_->bPedeConfig(12));
    EXPECT_EQ(nextLine(*connection), "GETCONFIG");
    connection->send("CONFIG 192.168.0.3\t192.168.0.50\t255.255.255.0\tLINHA UM\t"
                     "123456789012345678901234\t\t\t200\r\n");
    sync(*connection);

    uint8_t block[sizeof(TConfigTerminal)];
    std::memset(block, 0xAA, sizeof block);
    auto* record = reinterpret_cast<TConfigTerminal*>(block);
    auto* const given = record;
    ASSERT_TRUE(server_->bReceiveConfig(&record));
    EXPECT_EQ(record, given) << "the pointer is not replaced";

    int32_t terminal;
    std::memcpy(&terminal, block, sizeof terminal);
    EXPECT_EQ(terminal, 12);
    const auto field = [&](std::size_t offset) {
        return std::string(reinterpret_cast<const char*>(block) + offset, kTerminalTextField);
    };
    const auto padded = [](std::string text) {
        text.resize(kTerminalTextField, '\0');
        return text;
    };
    EXPECT_EQ(field(4), padded("192.168.0.3"));
    EXPECT_EQ(field(26), padded("192.168.0.50"));
    EXPECT_EQ(field(48), padded("255.255.255.0"));
    EXPECT_EQ(field(70), padded("LINHA UM"));
    EXPECT_EQ(field(92), padded("123456789012345678901"));
    EXPECT_EQ(field(114), padded(""));
    EXPECT_EQ(field(136), padded(""));
    EXPECT_EQ(block[158], 200);

    EXPECT_FALSE(server_->bReceiveConfig(&record));
    EXPECT_FALSE(server_->bReceiveConfig(nullptr));
}

TEST_F(QueueTest, AtMost64ConfigRepliesWait) {
    auto connection = registerTerminal(5);
    std::string replies;
    for (std::size_t i = 0; i < kMaxConfigReplies + 6; ++i)
        replies += "CONFIG s\tc\tm\t" + std::to_string(i) + "\t\t\t\t1\n";
    connection->send(replies);
    sync(*connection);

    TConfigTerminal block;
    TConfigTerminal* record = &block;
    for (std::size_t i = 0; i < kMaxConfigReplies; ++i) {
        ASSERT_TRUE(server_->bReceiveConfig(&record)) << i;
        EXPECT_STREQ(block.texts[0], std::to_string(i).c_str());
    }
    EXPECT_FALSE(server_->bReceiveConfig(&record));
    const auto log = stopServerAndReadLog();
    EXPECT_NE(log.find("configuration of terminal 5 dropped"), std::string::npos) << log;
}

} // namespace
} // namespace precivox::test
