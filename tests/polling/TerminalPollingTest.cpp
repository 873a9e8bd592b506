#include "TerminalPolling.h"

#include "Errors.h"
#include "FakePanel.h"
#include "FakeTerminalLibrary.h"

#include <gtest/gtest.h>
#include <sstream>

namespace precivox {
namespace {

using testing::FakePanel;
using testing::FakePrompter;
using testing::FakeTerminalLibrary;

struct Polling : ::testing::Test {
    FakeTerminalLibrary library;
    FakePanel panel;
    FakePrompter prompter;
    ScanAnswers answers{library};
    std::ostringstream log;
    std::vector<std::pair<int32_t, std::string>> scans;
    std::function<void(int32_t, const std::string&)> answer = [this](int32_t terminal,
                                                                     const std::string&) {
        answers.sendNotFound(terminal);
        throw SilentAbort();
    };
    TerminalPolling polling{library,
                            panel,
                            prompter,
                            answers,
                            [this](int32_t terminal, const std::string& barcode) {
                                scans.emplace_back(terminal, barcode);
                                answer(terminal, barcode);
                            },
                            log};

    TConfigTerminal reply(const char* server, uint8_t time) {
        TConfigTerminal config{};
        std::strcpy(config.server, server);
        std::strcpy(config.texts[3], "BEM-VINDO");
        config.displayTime = time;
        return config;
    }
};

struct ListCase {
    const char* name;
    std::vector<std::tuple<int, int32_t, const char*>> slots;
    int32_t count;
    std::vector<std::vector<std::string>> linesPerTick;
    std::vector<int> highlightPerTick;
    std::vector<int32_t> markedPerTick;
    std::vector<int32_t> alivePerTick;
};

TEST_F(Polling, ListsHighlightsAndKeepsAliveAsTheWalkRuleSays) {
    const ListCase cases[] = {
        {"none", {}, 0, {{}}, {-1}, {-1}, {}},
        {"one terminal", {{0, 7, "192.168.0.50"}}, 1, {{"192.168.0.50:7"}}, {0}, {7}, {7}},
        {"first refresh remembers the last line, the next highlights it",
         {{0, 3, "10.0.0.3"}, {1, 5, "10.0.0.5"}},
         2,
         {{"10.0.0.3:3", "10.0.0.5:5"}, {"10.0.0.3:3", "10.0.0.5:5"}},
         {0, 1},
         {5, 5},
         {3, 5}},
        {"empty slots skipped, walk stops at the count",
         {{1, 4, "10.0.0.4"}, {3, 9, "10.0.0.9"}, {5, 11, "10.0.0.11"}},
         2,
         {{"10.0.0.4:4", "10.0.0.9:9"}},
         {0},
         {9},
         {4, 9}},
        {"a count of 0 still lists slot 0 and nothing after",
         {{0, 6, "10.0.0.6"}, {1, 8, "10.0.0.8"}},
         0,
         {{"10.0.0.6:6"}},
         {0},
         {6},
         {6}},
        {"slots 1022 and 1023 are never examined",
         {{1021, 2, "10.0.0.2"}, {1022, 12, "10.0.0.12"}, {1023, 13, "10.0.0.13"}},
         3,
         {{"10.0.0.2:2"}},
         {0},
         {2},
         {2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeTerminalLibrary fresh;
        FakePanel freshPanel;
        ScanAnswers freshAnswers{fresh};
        TerminalPolling walk{fresh, freshPanel, prompter, freshAnswers, {}, log};
        for (auto [slot, terminal, address] : c.slots)
            fresh.setSlot(slot, terminal, address);
        fresh.table.count = c.count;
        for (size_t tick = 0; tick < c.linesPerTick.size(); ++tick) {
            fresh.sent.clear();
            walk.Timer2Timer();
            EXPECT_EQ(freshPanel.lines, c.linesPerTick[tick]) << "tick " << tick;
            EXPECT_EQ(freshPanel.highlighted, c.highlightPerTick[tick]) << "tick " << tick;
            EXPECT_EQ(walk.terminalMarcado(), c.markedPerTick[tick]) << "tick " << tick;
        }
        EXPECT_EQ(fresh.sentTo("ALIVE"), c.alivePerTick);
    }
}

TEST_F(Polling, MarkedTerminalGoneFallsBackToTheFirstLine) {
    library.setSlot(0, 3, "10.0.0.3");
    library.setSlot(1, 5, "10.0.0.5");
    library.table.count = 2;
    polling.Timer2Timer();
    polling.Timer2Timer();
    EXPECT_EQ(panel.highlighted, 1);
    library.table = {};
    library.setSlot(0, 3, "10.0.0.3");
    library.setSlot(1, 4, "10.0.0.4");
    library.table.count = 2;
    polling.Timer2Timer();
    EXPECT_EQ(panel.highlighted, 0);
    EXPECT_EQ(polling.terminalMarcado(), 4);
    library.table = {};
    polling.Timer2Timer();
    EXPECT_EQ(polling.terminalMarcado(), -1);
    EXPECT_TRUE(panel.lines.empty());
}

TEST_F(Polling, TakesOneBarcodePerTickFromByteOne) {
    library.queueBarcode(7, " 7891234567895\r");
    library.queueBarcode(8, "123");
    polling.Timer1Timer();
    ASSERT_EQ(scans.size(), 1u);
    EXPECT_EQ(scans[0], std::make_pair(7, std::string(" 7891234567895\r")));
    EXPECT_EQ(library.sentTo("NOTFOUND"), std::vector<int32_t>{7});
    polling.Timer1Timer();
    EXPECT_EQ(scans.size(), 2u);
    EXPECT_NE(log.str().find("terminal 7, barcode \" 7891234567895\\x0D\", NOTFOUND"),
              std::string::npos)
        << log.str();
}

TEST_F(Polling, LogsHowEachScanWasPricedOnOneLine) {
    answer = [this](int32_t terminal, const std::string&) {
        answers.notePath("rule (product): Praticando Preço 1 do produto.\r\nAplicando");
        answers.sendPrice(terminal,
                          "A\xC7\xDA"
                          "CAR",
                          "4,99");
    };
    library.queueBarcode(7, "1");
    polling.Timer1Timer();
    answer = [this](int32_t terminal, const std::string&) {
        answers.sendPrice(terminal, "ARROZ", "22,50");
        throw SilentAbort();
    };
    library.queueBarcode(7, "2");
    polling.Timer1Timer();
    EXPECT_NE(log.str().find("PRICE \"AÇÚCAR\" 4,99, rule (product): Praticando Preço 1 do "
                             "produto. | Aplicando ("),
              std::string::npos)
        << log.str();
    EXPECT_NE(log.str().find("PRICE \"ARROZ\" 22,50, plain ("), std::string::npos) << log.str();
}

TEST_F(Polling, DropsABarcodeOfLengthZeroAndNeverReadsPastTheBuffer) {
    library.queueBarcode(7, "");
    polling.Timer1Timer();
    EXPECT_TRUE(scans.empty());
    EXPECT_TRUE(library.sent.empty());

    FakeTerminalLibrary::Barcode full{9, {}, kBarcodeBufferSize};
    full.buffer.fill('8');
    full.buffer[0] = 0;
    library.barcodes.push_back(full);
    polling.Timer1Timer();
    ASSERT_EQ(scans.size(), 1u);
    EXPECT_EQ(scans[0].second, std::string(kBarcodeBufferSize - 1, '8'));
}

TEST_F(Polling, ShowsAConfigurationReplyWhicheverTerminalSentIt) {
    TConfigTerminal config = reply("192.168.0.10", 200);
    std::memset(config.texts[0], 'A', kTerminalTextField); // no zero byte in the field
    library.replies.push_back(config);
    polling.Timer1Timer();
    EXPECT_EQ(panel.texts[ConfigBox::server], "192.168.0.10");
    EXPECT_EQ(panel.texts[ConfigBox::text1], std::string(kTerminalTextField, 'A'));
    EXPECT_EQ(panel.texts[ConfigBox::text4], "BEM-VINDO");
    EXPECT_EQ(panel.texts[ConfigBox::displayTime], "200");
}

TEST_F(Polling, ReplyWaitsForTheNextTickWhenTheScanEndsWithoutReturning) {
    library.replies.push_back(reply("10.0.0.1", 5));
    library.queueBarcode(7, "1");
    polling.Timer1Timer(); // silent abort
    EXPECT_TRUE(panel.texts.empty());
    EXPECT_TRUE(prompter.boxes.empty());

    answer = [](int32_t, const std::string&) { throw DatabaseError("Lost connection"); };
    library.queueBarcode(7, "2");
    polling.Timer1Timer();
    EXPECT_TRUE(panel.texts.empty());
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text, "Lost connection.");

    answer = [this](int32_t terminal, const std::string&) {
        answers.sendPrice(terminal, "ARROZ", "22,50");
    };
    library.queueBarcode(7, "3");
    polling.Timer1Timer(); // normal return: the reply is taken in the same tick
    EXPECT_EQ(panel.texts[ConfigBox::server], "10.0.0.1");
}

TEST_F(Polling, NoTickRunsInsideAnotherButTicksRunUnderTheErrorBox) {
    library.setSlot(0, 7, "10.0.0.7");
    library.table.count = 1;
    size_t scansSeenInside = 0, keepAlivesSeenInside = 0;
    answer = [&](int32_t, const std::string& barcode) {
        if (barcode != "1")
            return;
        // A box opened inside the tick: its event loop delivers both timers' ticks.
        prompter.onShow = [&] {
            polling.Timer1Timer();
            polling.Timer2Timer();
            scansSeenInside = scans.size();
            keepAlivesSeenInside = library.sentTo("ALIVE").size();
        };
        prompter.showMessage("Erro...", "statement failed", MessageIcon::error);
        // The error box of the failed tick comes after the tick: ticks run under it.
        prompter.onShow = [&] {
            polling.Timer1Timer();
            polling.Timer2Timer();
        };
        throw DatabaseError("statement failed");
    };
    library.queueBarcode(7, "1");
    library.queueBarcode(7, "2");
    polling.Timer1Timer();
    EXPECT_EQ(scansSeenInside, 1u);
    EXPECT_EQ(keepAlivesSeenInside, 0u);

    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.boxes[1].text, "statement failed.");
    EXPECT_EQ(scans.size(), 2u);
    EXPECT_EQ(library.sentTo("ALIVE"), std::vector<int32_t>{7});
}

} // namespace
} // namespace precivox
