#include "../app/TempFolder.h"
#include "Cipher.h"
#include "DatabaseSettings.h"
#include "ErrorReporting.h"
#include "FakePanel.h"
#include "FakeTerminalLibrary.h"
#include "LeitorProdutos.h"
#include "PrivateServer.h"
#include "SilentServer.h"
#include "TestDatabase.h"

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <gmock/gmock.h>
#include <sstream>
#include <thread>

namespace precivox {
namespace {

using testing::FakePanel;
using testing::FakePrompter;
using testing::FakeTerminalLibrary;

constexpr const char* kOwnServer = "127.0.0.3";
constexpr const char* kSilentServer = "127.0.0.4";

// Two barcodes of the sample store: one priced from its columns on CONEXAO alone, one by
// the rule engine, which reads through the data module's BancodeDados as well.
constexpr const char* kPlainBarcode = "7891317202644";
constexpr const char* kPlainDescription = "ARROZ TIPO 1 5KG";
constexpr const char* kRuleBarcode = "7891317390495";
constexpr const char* kRuleDescription = "AZEITE EXTRA VIRGEM";

std::string readFile(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The main window without its widgets, started against a server of the test's own.
class RunningProgram {
public:
    explicit RunningProgram(const ConnectionParameters& server) {
        const auto settings = folder_.write(
            "sistema_yor.ini", "[ip]\nlocal=" + server.host + "\ndatabase=" + server.database +
                                   "\nsenha=" + CifraSenha("E", server.password, kPasswordKey) +
                                   "\n[FilialMatriz]\nCodLogica=1\n");
        auto dm = std::make_unique<TdmGerente>(prompter, settings);
        runReported(prompter, [&] { dm->DataModuleCreate(); });
        form_ = std::make_unique<TFLeitorProdutos>(
            std::move(dm),
            TFLeitorProdutos::Services{library, panel, prompter, log_, clock_, settings, [] {}});
        runReported(prompter, [&] { form_->FormCreate(); });
    }

    struct Tick {
        std::vector<FakeTerminalLibrary::Sent> answers;
        std::vector<FakePrompter::Box> boxes;
    };
    // One Timer1 tick with the barcode waiting.
    Tick scan(const std::string& barcode) {
        library.sent.clear();
        prompter.boxes.clear();
        library.queueBarcode(5, barcode);
        form_->polling().Timer1Timer();
        return {library.sent, prompter.boxes};
    }

    TFLeitorProdutos& form() { return *form_; }

    FakeTerminalLibrary library;
    FakePanel panel;
    FakePrompter prompter;

private:
    TempFolder folder_;
    std::ostringstream log_;
    SystemClock clock_;
    std::unique_ptr<TFLeitorProdutos> form_;
};

::testing::AssertionResult answered(const RunningProgram::Tick& tick, const char* description) {
    if (!tick.boxes.empty())
        return ::testing::AssertionFailure() << "box: " << tick.boxes[0].text;
    if (tick.answers.size() != 1 || tick.answers[0].kind != "PRICE" ||
        tick.answers[0].description != description)
        return ::testing::AssertionFailure()
               << tick.answers.size() << " answers, the first "
               << (tick.answers.empty() ? "-"
                                        : tick.answers[0].kind + " " + tick.answers[0].description);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult failedWithErrorBox(const RunningProgram::Tick& tick) {
    if (!tick.answers.empty())
        return ::testing::AssertionFailure() << "answered " << tick.answers[0].kind;
    if (tick.boxes.empty())
        return ::testing::AssertionFailure() << "no error box";
    const auto& last = tick.boxes.back(); // a failing scalar query shows its own box first
    if (last.caption != kApplicationTitle || last.icon != MessageIcon::error)
        return ::testing::AssertionFailure() << "box " << last.caption << ": " << last.text;
    return ::testing::AssertionSuccess() << last.text;
}

TEST(ProgramOutage, ServerGoneUnderARunningProgramIsUsedAgainOnceBack) {
    test::PrivateServer server(kOwnServer);
    test::TestDatabase store(server.administrator());
    store.run(readFile(PRECIVOX_SQL_DIR "/schema.sql"));
    store.run(readFile(PRECIVOX_SQL_DIR "/sample-store.sql"));
    RunningProgram program(store.parameters());
    ASSERT_TRUE(program.prompter.boxes.empty()) << program.prompter.boxes[0].text;

    std::jthread killer;
    const struct {
        const char* name;
        std::function<void()> goAway;
        const char* firstError;
    } cases[] = {
        {"stopped in order", [&] { server.stop(); }, "Can't connect to server on '127.0.0.3'"},
        // The first scan below is in flight, waiting for the frozen server, when it dies.
        {"killed during a scan",
         [&] {
             server.freeze();
             killer = std::jthread([&] {
                 std::this_thread::sleep_for(std::chrono::seconds(1));
                 server.kill();
             });
         },
         "Lost connection to server during query"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(answered(program.scan(kPlainBarcode), kPlainDescription)) << "before";
        EXPECT_TRUE(answered(program.scan(kRuleBarcode), kRuleDescription)) << "before";
        EXPECT_TRUE(program.form().dmGerente()->bancodeDados().connected());

        c.goAway();
        const auto first = program.scan(kRuleBarcode);
        EXPECT_TRUE(failedWithErrorBox(first)) << "during";
        if (!first.boxes.empty()) {
            EXPECT_THAT(first.boxes.back().text, ::testing::HasSubstr(c.firstError));
        }
        EXPECT_TRUE(failedWithErrorBox(program.scan(kPlainBarcode))) << "during";
        if (killer.joinable())
            killer.join();
        server.start();

        EXPECT_TRUE(answered(program.scan(kPlainBarcode), kPlainDescription)) << "after";
        EXPECT_TRUE(answered(program.scan(kRuleBarcode), kRuleDescription)) << "after";
    }
}

TEST(ProgramOutage, ServerThatNeverAnswersFailsTheScanAndTicksGoOn) {
    test::SilentServer silent(kSilentServer);
    ConnectionParameters hanging;
    hanging.host = kSilentServer;
    hanging.database = "gerente";
    hanging.password = "unused";
    RunningProgram program(hanging);
    ASSERT_EQ(program.prompter.boxes.size(), 2u) << "the data module's and the window's";

    EXPECT_TRUE(failedWithErrorBox(program.scan(kPlainBarcode)));

    TConfigTerminal reply{};
    std::strcpy(reply.server, "10.0.0.1");
    program.library.replies.push_back(reply);
    program.form().polling().Timer1Timer();
    EXPECT_EQ(program.panel.texts[ConfigBox::server], "10.0.0.1") << "the next tick ran";
}

} // namespace
} // namespace precivox
