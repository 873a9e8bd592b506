#include "Cipher.h"
#include "ConnectionSettings.h"
#include "DatabaseSettings.h"
#include "ErrorReporting.h"
#include "FakePanel.h"
#include "FakeTerminalLibrary.h"
#include "LeitorProdutos.h"
#include "TempFolder.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <sstream>

namespace precivox {
namespace {

using testing::FakePanel;
using testing::FakePrompter;
using testing::FakeTerminalLibrary;

struct FixedClock : Clock {
    DateTime now() const override { return {2026, 12, 11, 10, 0, 0, 0}; }
};

// The main window's start-up and close against the test server, with a settings file
// of the test's own.
struct StartUp : ::testing::Test {
    TempFolder folder;
    FakeTerminalLibrary library;
    FakePanel panel;
    FakePrompter prompter;
    std::ostringstream log;
    FixedClock clock;
    bool ended = false;

    std::unique_ptr<TFLeitorProdutos> makeForm(const std::string& settings) {
        auto file = folder.write("sistema_yor.ini", settings);
        auto dm = std::make_unique<TdmGerente>(prompter, file);
        return std::make_unique<TFLeitorProdutos>(
            std::move(dm), TFLeitorProdutos::Services{library, panel, prompter, log, clock, file,
                                                      [this] { ended = true; }});
    }

    static std::string settingsFor(const ConnectionParameters& server, const std::string& senha,
                                   const std::string& codLogica) {
        return "[IP]\nLocal = " + server.host + "\ndatabase=\"" + server.database +
               "\"\nsenha=" + senha + "\n[filialmatriz]\nCodLogica=" + codLogica + "\n";
    }
};

TEST_F(StartUp, OpensTheConnectionAndReadsTheBranch) {
    test::TestDatabase database;
    auto server = database.parameters();
    const struct {
        const char* codLogica;
        int32_t expected;
    } branches[] = {{" 7 ", 7}, {"0x1A", 26}, {"$1A", 26}, {"abc", 0}};
    for (const auto& branch : branches) {
        auto form = makeForm(
            settingsFor(server, CifraSenha("E", server.password, kPasswordKey), branch.codLogica));
        form->FTabelaDesconto = 9;
        EXPECT_TRUE(runReported(prompter, [&] { form->FormCreate(); }));
        EXPECT_TRUE(library.started);
        EXPECT_TRUE(form->conexao()->connected());
        EXPECT_EQ(form->FCodLogica, branch.expected) << branch.codLogica;
        EXPECT_EQ(form->FTabelaDesconto, 0);
        EXPECT_EQ(form->FTerminalConfig, -1);
    }
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(StartUp, PasswordThatDoesNotDecodeStopsAfterTheHost) {
    auto form = makeForm("[ip]\nlocal=127.0.0.1\ndatabase=loja\nsenha=\n"
                         "[FilialMatriz]\nCodLogica=5\n");
    EXPECT_FALSE(runReported(prompter, [&] { form->FormCreate(); }));
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text, "'$' is not a valid integer value.");
    EXPECT_EQ(prompter.boxes[0].caption, "Precivox");
    EXPECT_EQ(form->FCodLogica, 0);
    EXPECT_FALSE(form->conexao()->connected());
    const auto& parameters = form->conexao()->parameters();
    EXPECT_EQ(parameters.host, "127.0.0.1");
    EXPECT_EQ(parameters.database, "loja");
    EXPECT_EQ(parameters.password, "907381kzt");
}

TEST_F(StartUp, UnreachableDatabaseIsReportedAndTerminalsAreStillServed) {
    // Nothing listens on 127.0.0.2: the connection is refused at once.
    auto form = makeForm("[ip]\nlocal=127.0.0.2\n");
    EXPECT_FALSE(runReported(prompter, [&] { form->FormCreate(); }));
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_NE(prompter.boxes[0].text.find("127.0.0.2"), std::string::npos)
        << prompter.boxes[0].text;
    EXPECT_FALSE(form->conexao()->connected());

    library.setSlot(0, 7, "10.0.0.7");
    library.table.count = 1;
    form->polling().Timer2Timer();
    EXPECT_EQ(panel.lines, std::vector<std::string>{"10.0.0.7:7"});
    EXPECT_EQ(library.sentTo("ALIVE"), std::vector<int32_t>{7});
}

TEST_F(StartUp, WithoutASettingsFileTheDefaultsAreUsed) {
    // Parameters only: the default host is a store's private address, never connected to.
    ConnectionParameters parameters = initialConnectionParameters();
    readConnectionSettings(folder.path() / "missing.ini", parameters);
    EXPECT_EQ(parameters.host, "192.168.0.3");
    EXPECT_EQ(parameters.database, "gerente");
    EXPECT_EQ(parameters.user, "root");
    EXPECT_EQ(parameters.port, 3306u);
    EXPECT_EQ(parameters.password, CifraSenha("D", "7E90C55B1AD8F3E06B2C", "QXW"));
}

TEST_F(StartUp, CloseReleasesTheDataModuleThenTheConnectionThenEnds) {
    test::TestDatabase database;
    auto server = database.parameters();
    auto form = makeForm(settingsFor(server, CifraSenha("E", server.password, kPasswordKey), "1"));
    ASSERT_TRUE(runReported(prompter, [&] { form->FormCreate(); }));
    ASSERT_NE(form->dmGerente(), nullptr);
    form->FormClose();
    EXPECT_EQ(form->dmGerente(), nullptr);
    EXPECT_EQ(form->conexao(), nullptr);
    EXPECT_TRUE(ended);
}

} // namespace
} // namespace precivox
