#include "TerminalServerFixture.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

namespace precivox::test {
namespace {

using SendTest = TerminalServerTest;

// A text buffer as the program hands it over: 101 bytes, the size argument 100.
struct TextBuffer {
    explicit TextBuffer(std::string_view text) {
        std::memset(bytes, 0, sizeof bytes);
        std::memcpy(bytes, text.data(), std::min(text.size(), sizeof bytes));
    }
    char bytes[101];
};

TEST_F(SendTest, AnswersReachTheTerminalAsLines) {
    auto connection = registerTerminal(7);
    const auto price = [&](std::string_view description, std::string_view text) {
        TextBuffer d(description), p(text);
        return server_->bSendProdPrice(7, d.bytes, 100, p.bytes, 100);
    };
    TConfigTerminal config{};
    config.terminal = 7;
    std::strcpy(config.server, "192.168.0.3");
    std::strcpy(config.client, "192.168.0.50");
    std::strcpy(config.mask, "255.255.255.0");
    std::memset(config.texts[0], 'T', sizeof config.texts[0]); // no zero byte
    std::strcpy(config.texts[1], "PRE\xC7O\tBAIXO");
    config.displayTime = 255;

    const struct {
        const char* name;
        std::function<bool()> send;
        std::string line;
    } cases[] = {
        {"price", [&] { return price("ARROZ TIPO 1 5KG", "22,50"); },
         "PRICE ARROZ TIPO 1 5KG\t22,50"},
        {"empty description", [&] { return price("", "9,50"); }, "PRICE \t9,50"},
        {"framing bytes in texts", [&] { return price("A\tB\nC\rD", "1\n"); }, "PRICE A B C D\t1 "},
        {"texts read no further than the size", [&] { return price(std::string(101, 'D'), "1"); },
         "PRICE " + std::string(100, 'D') + "\t1"},
        {"not found", [&] { return server_->bSendProdNotFound(7); }, "NOTFOUND"},
        {"keep-alive", [&] { return server_->bEnviaVivo(7); }, "ALIVE"},
        {"configuration request", [&] { return server_->bPedeConfig(7); }, "GETCONFIG"},
        {"configuration", [&] { return server_->bMandaConfig(&config); },
         "SETCONFIG 192.168.0.3\t192.168.0.50\t255.255.255.0\t" + std::string(21, 'T') +
             "\tPRE\xC7O BAIXO\t\t\t255"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(c.send()) << c.name;
        EXPECT_EQ(nextLine(*connection), c.line) << c.name;
    }
}

TEST_F(SendTest, SendsToTerminalsNotConnectedAreDropped) {
    auto connection = registerTerminal(7);
    TextBuffer text("X");
    TConfigTerminal config{};
    config.terminal = 8;
    EXPECT_FALSE(server_->bSendProdPrice(8, text.bytes, 100, text.bytes, 100));
    EXPECT_FALSE(server_->bSendProdNotFound(8));
    EXPECT_FALSE(server_->bEnviaVivo(0));
    EXPECT_FALSE(server_->bPedeConfig(-1));
    EXPECT_FALSE(server_->bMandaConfig(&config));
    EXPECT_FALSE(server_->bMandaConfig(nullptr));
    sync(*connection); // nothing else arrived before the answer to SYNC
}

TEST_F(SendTest, TerminalThatReadsNothingIsDisconnected) {
    auto stalled = registerTerminal(1);
    auto reader = registerTerminal(2);
    TextBuffer description(std::string(100, 'D')), price(std::string(100, 'P'));
    // Kernel buffers take a few megabytes before the server's own output piles up.
    constexpr int kAttempts = 500'000;
    int sent = 0;
    while (sent < kAttempts && server_->bSendProdPrice(1, description.bytes, 100, price.bytes, 100))
        ++sent;
    ASSERT_LT(sent, kAttempts) << "never disconnected";
    EXPECT_EQ(table().terminals[0], 0) << "slot freed at once";
    EXPECT_FALSE(server_->bEnviaVivo(1));

    ASSERT_TRUE(server_->bEnviaVivo(2));
    EXPECT_EQ(nextLine(*reader), "ALIVE");
    EXPECT_TRUE(closedByServer(*stalled));
}

TEST_F(SendTest, CallsFromAnotherThreadWhileTerminalsComeAndGo) {
    std::atomic<bool> done = false;
    std::thread caller([&] {
        TextBuffer text("X");
        TTabConectados snapshot;
        TConfigTerminal config{};
        TConfigTerminal* record = &config;
        while (!done) {
            server_->GetTabConectados(1, &snapshot);
            for (int slot = 0; slot < 4; ++slot) {
                config.terminal = snapshot.terminals[slot];
                server_->bEnviaVivo(snapshot.terminals[slot]);
                server_->bSendProdPrice(snapshot.terminals[slot], text.bytes, 100, text.bytes, 100);
                server_->bMandaConfig(&config);
            }
            server_->bReceiveConfig(&record);
            takeAllScans();
            // Unthrottled, this thread outruns the reader and trips the 64 KiB limit.
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    for (int round = 0; round < 50; ++round) {
        auto connection = registerTerminal(1 + round % 3);
        connection->send("SCAN 1\nCONFIG a\tb\tc\td\te\tf\tg\t1\nSYNC\n");
        // The other thread's lines come in between.
        std::string line;
        do
            line = nextLine(*connection);
        while (!line.empty() && line != "ERROR unknown command");
    }
    done = true;
    caller.join();
}

} // namespace
} // namespace precivox::test
