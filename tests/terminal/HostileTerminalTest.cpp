#include "TerminalServerFixture.h"
#include "TerminalTables.h"

#include <atomic>
#include <filesystem>
#include <malloc.h>
#include <random>
#include <thread>

namespace precivox::test {
namespace {

using HostileTerminalTest = TerminalServerTest;

std::size_t openDescriptors() {
    const std::filesystem::directory_iterator entries("/proc/self/fd");
    return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
}

// What the heap holds (glibc's count; under a sanitizer's allocator it stays flat).
std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

std::string repeated(std::string_view line, int times) {
    std::string lines;
    for (int i = 0; i < times; ++i)
        lines += line;
    return lines;
}

// Takes scans as the polling would until one of `terminal` comes; the others taken on
// the way are counted.
std::optional<std::string> takeScansUntil(TerminalServer& server, int32_t terminal, int& others) {
    std::optional<std::string> barcode;
    waitUntil([&] {
        int32_t from = 0, unused = 0, length = 0;
        const uint8_t* buffer = nullptr;
        while (server.bReceiveBarcode(from, unused, buffer, length)) {
            if (from == terminal) {
                barcode.emplace(reinterpret_cast<const char*>(buffer) + 1, length);
                return true;
            }
            ++others;
        }
        return false;
    });
    return barcode;
}

TEST_F(HostileTerminalTest, FloodIsLoggedOnceWhenItBeginsAndOnceWhenItEnds) {
    auto flooder = registerTerminal(1);
    flooder->send(repeated("SCAN F\n", 10'000) +
                  repeated("CONFIG a\tb\tc\td\te\tf\tg\t1\n", kMaxConfigReplies + 500));
    sync(*flooder);
    EXPECT_EQ(takeAllScans().size(), kMaxScansPerTerminal);
    TConfigTerminal block;
    TConfigTerminal* record = &block;
    while (server_->bReceiveConfig(&record)) {
    }
    flooder->send("SCAN G\nCONFIG a\tb\tc\td\te\tf\tg\t1\n");
    sync(*flooder);
    EXPECT_EQ(takeAllScans(), (std::vector<TakenScan>{{1, "G"}}));

    auto log = stopServerAndReadLog();
    log.erase(0, log.find('\n') + 1); // the line saying where it listened
    EXPECT_EQ(log,
              "precivox terminal server: scan of terminal 1 dropped: 8 of its scans already "
              "waiting\n"
              "precivox terminal server: configuration of terminal 1 dropped: 64 already waiting\n"
              "precivox terminal server: terminal 1: 9992 scans dropped in a row\n"
              "precivox terminal server: terminal 1: 500 configurations dropped in a row\n");
}

TEST_F(HostileTerminalTest, FloodingTerminalCannotStarveTheOthers) {
    auto flooder = registerTerminal(1);
    auto quiet = registerTerminal(2);
    std::atomic<bool> flooding = true;
    std::jthread flood([&] {
        const std::string scans = repeated("SCAN F\n", 1000);
        while (flooding)
            flooder->send(scans);
    });
    // Whatever the flooder sends, at most eight of its scans wait ahead of another's.
    for (int round = 0; round < 50; ++round) {
        quiet->send("SCAN " + std::to_string(round) + "\n");
        sync(*quiet);
        int ahead = 0;
        EXPECT_EQ(takeScansUntil(*server_, 2, ahead), std::to_string(round));
        EXPECT_LE(ahead, static_cast<int>(kMaxScansPerTerminal)) << "round " << round;
    }
    flooding = false;
}

TEST_F(HostileTerminalTest, TerminalThatReadsNothingDelaysNoOneElse) {
    auto stalled = registerTerminal(1);
    auto reader = registerTerminal(2);
    const std::string text(100, 'D');
    // Paced by the reader's answers, so that the server writes out what it can: the
    // kernel's buffers fill first, then the server's own output piles up.
    int sent = 0;
    while (sent < 500'000 && server_->bSendProdPrice(1, text.c_str(), 100, text.c_str(), 100)) {
        if (++sent % 100 == 0) {
            ASSERT_TRUE(server_->bSendProdNotFound(2));
            ASSERT_EQ(nextLine(*reader), "NOTFOUND") << "after " << sent << " lines to the other";
        }
    }
    EXPECT_TRUE(closedByServer(*stalled)) << "cut off once 64 KiB wait";
    EXPECT_TRUE(server_->bEnviaVivo(2));
    EXPECT_EQ(nextLine(*reader), "ALIVE");
}

TEST_F(HostileTerminalTest, SilentAndGarbageConnectionsLeaveEveryoneServedAndNothingBehind) {
    startServer(std::chrono::milliseconds(300));
    const auto descriptors = openDescriptors();
    auto served = registerTerminal(1);

    std::vector<std::unique_ptr<TerminalConnection>> hostile;
    for (int i = 0; i < 50; ++i)
        hostile.push_back(connect()); // never says HELLO
    std::mt19937 random(4321);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 20; ++i) {
        auto connection = i % 2 ? registerTerminal(100 + i) : connect();
        std::string garbage(16 * 1024, '\0');
        for (auto& c : garbage)
            c = static_cast<char>(byte(random));
        connection->send(garbage);
        hostile.push_back(std::move(connection));
    }
    for (int round = 0; round < 20; ++round) {
        served->send("SCAN " + std::to_string(round) + "\n");
        sync(*served);
        int others = 0;
        EXPECT_EQ(takeScansUntil(*server_, 1, others), std::to_string(round));
        ASSERT_TRUE(server_->bSendProdNotFound(1));
        EXPECT_EQ(nextLine(*served), "NOTFOUND");
    }

    hostile.clear();
    EXPECT_TRUE(waitUntil([&] { return table().count == 1; }));
    EXPECT_TRUE(waitUntil([&] { return openDescriptors() == descriptors + 2; }))
        << openDescriptors() << " open, " << descriptors << " before and 2 for the terminal";
    sync(*served);
}

TEST_F(HostileTerminalTest, ThousandConnectionsComingAndGoingLeaveNothingBehind) {
    const auto cycle = [&](int i) {
        auto connection = connect();
        switch (i % 4) {
        case 0: // gone at once
            break;
        case 1:
            connection->send("HELLO " + std::to_string(1 + i % 7) + "\n");
            break;
        case 2:
            connection->send("HELLO 9\nSCAN 12");
            break;
        case 3:
            connection->send(std::string(kMaxLineLength + 10, 'X'));
            break;
        }
    };
    const auto descriptors = openDescriptors();
    // The first round warms up the allocator and the I/O thread's own pools.
    for (int i = 0; i < 200; ++i)
        cycle(i);
    ASSERT_TRUE(waitUntil([&] { return openDescriptors() == descriptors; }));
    const auto heap = heapInUse();

    for (int i = 0; i < 1000; ++i)
        cycle(i);
    EXPECT_TRUE(waitUntil([&] { return table().count == 0; }));
    EXPECT_TRUE(waitUntil([&] { return openDescriptors() == descriptors; }))
        << openDescriptors() << " open, " << descriptors << " before";
    EXPECT_TRUE(takeAllScans().empty());
    EXPECT_LT(heapInUse(), heap + 256 * 1024) << heapInUse() - heap << " bytes more";

    auto late = registerTerminal(5);
    EXPECT_EQ(table().terminals[0], 5);
    sync(*late);
}

} // namespace
} // namespace precivox::test
