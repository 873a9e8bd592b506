#include "DiscountTableChoice.h"

#include <gtest/gtest.h>
#include <optional>

namespace precivox {
namespace {

// The window's box and labels, recording what the choice did to them. Unticking runs
// the click handler again, as the real box does.
struct RecordingView : DiscountTableView {
    bool ticked = false;
    std::vector<std::string> calls;
    std::function<void()> clicked;

    bool tableBoxTicked() const override { return ticked; }
    void untickTableBox() override {
        calls.push_back("untick");
        ticked = false;
        clicked();
        calls.push_back("untick returned");
    }
    void showChosenTable(const std::string& description) override {
        calls.push_back("chosen " + description);
    }
    void showNoTable() override { calls.push_back("none"); }
};

struct ScriptedDialog : DiscountTableDialog {
    bool ok;
    std::vector<DiscountTableRow> marks;
    int& alive;

    ScriptedDialog(bool ok, std::vector<DiscountTableRow> marks, int& alive)
        : ok(ok), marks(std::move(marks)), alive(alive) {
        ++alive;
    }
    ~ScriptedDialog() override { --alive; }
    bool execute() override { return ok; }
    std::vector<DiscountTableRow> rows() const override { return marks; }
};

struct ScriptedDialogs : DiscountTableDialogFactory {
    bool ok = true;
    std::vector<DiscountTableRow> rows;
    int created = 0;
    int alive = 0;
    Connection* connection = nullptr;

    std::unique_ptr<DiscountTableDialog> create(Connection& conexao) override {
        ++created;
        connection = &conexao;
        return std::make_unique<ScriptedDialog>(ok, rows, alive);
    }
};

struct DiscountTableChoiceTest : ::testing::Test {
    RecordingView view;
    ScriptedDialogs dialogs;
    Connection conexao; // never opened: the scripted dialogs read nothing
    int connectionAsked = 0;
    int32_t FTabelaDesconto = 0;
    DiscountTableChoice choice{view, dialogs,
                               [this]() -> Connection& {
                                   ++connectionAsked;
                                   return conexao;
                               },
                               FTabelaDesconto};

    void SetUp() override {
        view.clicked = [this] { choice.checkTabelaClick(); };
    }

    void tick() {
        view.ticked = true;
        choice.checkTabelaClick();
    }
};

TEST_F(DiscountTableChoiceTest, OkTakesTheFirstRowMarkedWithAnSOfEitherCase) {
    const struct {
        const char* name;
        std::vector<DiscountTableRow> rows;
        int32_t id;
        std::string shown;
    } cases[] = {
        {"one",
         {{1, "ATACADO", "N"},
          {5,
           "CART\xC3O DE CR\xC9"
           "DITO",
           "S"}},
         5,
         "chosen CARTÃO DE CRÉDITO"},
        {"lower case", {{1, "ATACADO", "s"}, {2, "VAREJO", "S"}}, 1, "chosen ATACADO"},
        {"as a prefix", {{3, "A", "N"}, {4, "B", "Sim"}}, 4, "chosen B"},
    };
    for (const auto& c : cases) {
        view.calls.clear();
        dialogs.rows = c.rows;
        tick();
        EXPECT_EQ(FTabelaDesconto, c.id) << c.name;
        EXPECT_EQ(view.calls, std::vector<std::string>{c.shown}) << c.name;
        EXPECT_TRUE(view.ticked) << c.name;
        EXPECT_EQ(dialogs.alive, 0) << c.name << ": the dialog is released";
        EXPECT_EQ(dialogs.connection, &conexao) << c.name;
    }
}

TEST_F(DiscountTableChoiceTest, OkWithoutAMarkedRowChangesNothing) {
    FTabelaDesconto = 7;
    dialogs.rows = {{1, "ATACADO", "N"}, {2, "VAREJO", "x"}};
    tick();
    EXPECT_EQ(FTabelaDesconto, 7);
    EXPECT_TRUE(view.calls.empty());
    EXPECT_TRUE(view.ticked);
}

TEST_F(DiscountTableChoiceTest, CancelUnticksTheBoxAndClearsTheChoiceTwice) {
    // 7 as the price query leaves it when it has stored the branch's default table.
    FTabelaDesconto = 7;
    dialogs.ok = false;
    dialogs.rows = {{7, "PADR\xC3O", "S"}};
    tick();
    EXPECT_EQ(view.calls, (std::vector<std::string>{"untick", "none", "untick returned", "none"}));
    EXPECT_FALSE(view.ticked);
    EXPECT_EQ(FTabelaDesconto, 0);
    EXPECT_EQ(dialogs.created, 1) << "the second pass opens no dialog";
    EXPECT_EQ(dialogs.alive, 0);
}

TEST_F(DiscountTableChoiceTest, UntickingClearsTheChoiceWithoutADialog) {
    dialogs.rows = {{5, "ATACADO", "S"}};
    tick();
    ASSERT_EQ(FTabelaDesconto, 5);
    view.calls.clear();
    connectionAsked = 0;

    view.ticked = false;
    choice.checkTabelaClick();
    EXPECT_EQ(view.calls, std::vector<std::string>{"none"});
    EXPECT_EQ(FTabelaDesconto, 0);
    EXPECT_EQ(dialogs.created, 1);
    EXPECT_EQ(connectionAsked, 0) << "unticking works with the main connection gone";
}

} // namespace
} // namespace precivox
