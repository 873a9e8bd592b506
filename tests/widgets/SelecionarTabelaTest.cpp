#include "CaptionCheck.h"
#include "Errors.h"
#include "FakePanel.h"
#include "FakeTerminalLibrary.h"
#include "SelecionarTabelaDesconto.h"
#include "TerminalPolling.h"
#include "TestDatabase.h"

#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace precivox {
namespace {

using testing::FakePanel;
using testing::FakePrompter;
using testing::FakeTerminalLibrary;

std::string readFile(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class SelecionarTabela : public ::testing::Test {
protected:
    test::TestDatabase db;
    Connection conexao{db.parameters()};
    FakePrompter prompter;
    std::unique_ptr<TFSelecionarTabela> dialog;

    void SetUp() override {
        db.run(readFile(PRECIVOX_SQL_DIR "/schema.sql"));
        db.run("insert into tabela_desconto (tabela_desconto_id, descricao, apagado) values"
               " (1, concat('PADR', char(195), 'O MATRIZ'), 'N'), (2, 'ATACADO', 'N'),"
               " (3, 'APAGADA', 'S'), (5, concat('CART', char(195), 'O'), 'N'),"
               " (6, 'FUNCIONARIOS', 'N'), (7, 'VAREJO', 'N')");
        dialog = std::make_unique<TFSelecionarTabela>(nullptr, conexao, prompter);
    }

    // Shows the dialog modally and runs `script` in its event loop; a script that leaves
    // the dialog open fails, and the dialog is cancelled for it.
    int run(const std::function<void()>& script) {
        QTimer::singleShot(0, dialog.get(), [&] {
            script();
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the script left the dialog open";
                dialog->reject();
            }
        });
        return dialog->exec();
    }

    void key(int key) { QTest::keyClick(dialog->grid(), static_cast<Qt::Key>(key)); }
    void markRows(std::initializer_list<int> rows) {
        for (int row : rows) {
            dialog->grid()->setCurrentIndex(dialog->grid()->model()->index(row, 0));
            key(Qt::Key_F5);
        }
    }
    std::string marks() const {
        std::string all;
        for (const auto& row : dialog->rows())
            all += row.Marca;
        return all;
    }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : prompter.boxes)
            texts.push_back(box.text);
        return texts;
    }
};

TEST_F(SelecionarTabela, ListsTheTablesUnmarkedInAGridWithoutVerticalScrollBar) {
    for (int id = 10; id < 40; ++id)
        db.run("insert into tabela_desconto (tabela_desconto_id, descricao, apagado) values (" +
               std::to_string(id) + ", 'TABELA " + std::to_string(id) + "', 'N')");
    run([&] {
        EXPECT_EQ(dialog->windowTitle().toStdString(), "Selecionar Tabela de Desconto");
        EXPECT_EQ(dialog->size(), QSize(474, 304));
        ASSERT_EQ(dialog->rows().size(), 35u);
        EXPECT_EQ(marks(), std::string(35, 'N'));
        auto* model = dialog->grid()->model();
        EXPECT_EQ(model->index(0, 0).data().toString().toStdString(), "PADRÃO MATRIZ");
        EXPECT_EQ(model->index(2, 0).data().toString().toStdString(), "CARTÃO");
        EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString().toStdString(), "Descrição");
        EXPECT_EQ(dialog->grid()->horizontalHeader()->sectionSize(0), 434);
        EXPECT_EQ(dialog->grid()->currentIndex().row(), 0);
        EXPECT_TRUE(prompter.boxes.empty());
        EXPECT_EQ(test::clippedCaptions(*dialog), std::vector<std::string>{});

        for (int i = 0; i < 30; ++i)
            key(Qt::Key_Down);
        const QModelIndex row30 = dialog->grid()->currentIndex();
        EXPECT_EQ(row30.row(), 30);
        EXPECT_TRUE(dialog->grid()->viewport()->rect().contains(dialog->grid()->visualRect(row30)))
            << "the keyboard brings a row into view";
        EXPECT_FALSE(dialog->grid()->verticalScrollBar()->isVisible());
        key(Qt::Key_Escape);
    });
}

TEST_F(SelecionarTabela, OkClosesTheDialogOnlyWithExactlyOneMark) {
    const struct {
        const char* name;
        std::initializer_list<int> marked;
        bool byKey;
        const char* refusal; // nullptr: closes with OK
    } cases[] = {
        {"none, F3", {}, true, "Defina uma tabela de desconto."},
        {"none, button", {}, false, "Defina uma tabela de desconto."},
        {"two, F3", {0, 3}, true, "Defina apenas uma tabela de desconto."},
        {"two, button", {1, 2}, false, "Defina apenas uma tabela de desconto."},
        {"one, F3", {2}, true, nullptr},
        {"one, button", {4}, false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.boxes.clear();
        dialog = std::make_unique<TFSelecionarTabela>(nullptr, conexao, prompter);
        std::string marksBefore;
        const int result = run([&] {
            markRows(c.marked);
            marksBefore = marks();
            if (c.byKey)
                key(Qt::Key_F3);
            else
                QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
            if (c.refusal) {
                EXPECT_TRUE(dialog->isVisible());
                EXPECT_EQ(marks(), marksBefore);
                EXPECT_EQ(dialog->focusWidget(), dialog->grid());
                key(Qt::Key_Escape);
            }
        });
        if (c.refusal) {
            ASSERT_EQ(prompter.boxes.size(), 1u);
            EXPECT_EQ(prompter.boxes[0].caption, "Atenção");
            EXPECT_EQ(prompter.boxes[0].text, c.refusal);
            EXPECT_EQ(prompter.boxes[0].icon, MessageIcon::information);
            EXPECT_EQ(result, QDialog::Rejected);
        } else {
            EXPECT_TRUE(prompter.boxes.empty());
            EXPECT_EQ(result, QDialog::Accepted);
            EXPECT_EQ(marks(), marksBefore);
        }
    }
}

TEST_F(SelecionarTabela, F5TogglesTheCurrentRowAndF6UnmarksEveryRow) {
    const int result = run([&] {
        markRows({1});
        markRows({1});
        EXPECT_EQ(marks(), "NNNNN") << "F5 twice leaves the row unmarked";

        markRows({0, 3});
        key(Qt::Key_F3);
        EXPECT_EQ(boxTexts(), std::vector<std::string>{"Defina apenas uma tabela de desconto."});
        key(Qt::Key_F6);
        EXPECT_EQ(marks(), "NNNNN");
        EXPECT_EQ(dialog->grid()->currentIndex().row(), 3) << "F6 keeps the current row";
        EXPECT_TRUE(dialog->grid()->updatesEnabled());
        key(Qt::Key_F5);
        key(Qt::Key_F3);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(marks(), "NNNSN");
    EXPECT_EQ(prompter.boxes.size(), 1u);
}

TEST_F(SelecionarTabela, EscCancelAndTheCloseBoxCancel) {
    const struct {
        const char* name;
        std::function<void(TFSelecionarTabela&)> leave;
    } cases[] = {
        {"Esc", [](TFSelecionarTabela& d) { QTest::keyClick(d.grid(), Qt::Key_Escape); }},
        {"Esc in the button",
         [](TFSelecionarTabela& d) { QTest::keyClick(d.okButton(), Qt::Key_Escape); }},
        {"Cancelar",
         [](TFSelecionarTabela& d) { QTest::mouseClick(d.cancelButton(), Qt::LeftButton); }},
        {"close box", [](TFSelecionarTabela& d) { d.close(); }},
    };
    for (const auto& c : cases) {
        dialog = std::make_unique<TFSelecionarTabela>(nullptr, conexao, prompter);
        EXPECT_EQ(run([&] {
                      markRows({2});
                      c.leave(*dialog);
                  }),
                  QDialog::Rejected)
            << c.name;
    }
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(SelecionarTabela, AnEmptyListCanOnlyBeCancelled) {
    db.run("delete from tabela_desconto");
    const int result = run([&] {
        key(Qt::Key_F5);
        key(Qt::Key_F6);
        EXPECT_TRUE(prompter.boxes.empty());
        key(Qt::Key_F3);
        EXPECT_TRUE(dialog->isVisible());
        key(Qt::Key_Escape);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Defina uma tabela de desconto."});
}

TEST_F(SelecionarTabela, AListThatCannotBeReadIsReportedAndLeavesOnlyCancel) {
    db.run("drop table tabela_desconto");
    const int result = run([&] {
        ASSERT_EQ(prompter.boxes.size(), 1u) << "the failed read is reported as the dialog opens";
        EXPECT_EQ(prompter.boxes[0].caption, "Precivox");
        EXPECT_EQ(prompter.boxes[0].icon, MessageIcon::error);
        EXPECT_NE(prompter.boxes[0].text.find("tabela_desconto"), std::string::npos);
        EXPECT_EQ(dialog->rows().size(), 0u);
        prompter.boxes.clear();
        for (int k : {Qt::Key_F5, Qt::Key_F6, Qt::Key_F3})
            key(k);
        EXPECT_TRUE(dialog->isVisible());
        key(Qt::Key_Escape);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(boxTexts(),
              std::vector<std::string>(3, "Cannot perform this operation on a closed dataset."));
}

TEST_F(SelecionarTabela, CellsShowRowParitySelectionAndMarks) {
    QPalette palette;
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    const QColor lightBlue(186, 211, 254), navy(0, 0, 128), legend(255, 174, 174);
    const struct {
        int record;
        bool selected, marked;
        QColor background, text;
        bool bold;
    } looks[] = {
        {1, false, false, lightBlue, Qt::black, false},
        {2, false, false, Qt::white, Qt::black, false},
        {3, true, false, navy, Qt::white, true},
        {4, true, false, navy, Qt::white, true},
        {5, false, true, legend, Qt::black, false},
        {6, false, true, legend, Qt::black, false},
        {7, true, true, legend, Qt::white, true},
    };
    for (const auto& l : looks) {
        const CellLook look = columnCellLook(l.record, l.selected, l.marked, palette);
        EXPECT_EQ(look.background, l.background) << "record " << l.record;
        EXPECT_EQ(look.text, l.text) << "record " << l.record;
        EXPECT_EQ(look.bold, l.bold) << "record " << l.record;
    }

    // And on screen: rows 1 to 5, the third marked, the fourth current.
    run([&] {
        markRows({2});
        dialog->grid()->setCurrentIndex(dialog->grid()->model()->index(3, 0));
        const QImage image = dialog->grid()->viewport()->grab().toImage();
        const QColor window = dialog->grid()->palette().color(QPalette::Base);
        const QColor expected[] = {lightBlue, window, legend, navy, lightBlue};
        for (int row = 0; row < 5; ++row) {
            const QRect cell = dialog->grid()->visualRect(dialog->grid()->model()->index(row, 0));
            const qreal ratio = image.devicePixelRatio();
            const QColor seen =
                image.pixelColor(QPoint(cell.right() - 5, cell.center().y()) * ratio);
            EXPECT_EQ(seen, expected[row]) << "row " << row << " is " << seen.name().toStdString();
        }
        key(Qt::Key_Escape);
    });
}

TEST_F(SelecionarTabela, TicksRunWhileItIsOpenButAWalkNeverStartsOneInsideAnother) {
    FakeTerminalLibrary library;
    FakePanel panel;
    ScanAnswers answers{library};
    std::ostringstream log;
    int timer2Fired = 0;
    TerminalPolling polling(
        library, panel, prompter, answers,
        [&](int32_t terminal, const std::string&) {
            // A walk inside this tick lets the other timer fire; its tick must not run.
            const int firedBefore = timer2Fired;
            const size_t aliveBefore = library.sentTo("ALIVE").size();
            key(Qt::Key_F6);
            EXPECT_GT(timer2Fired, firedBefore) << "the walk let the timer fire";
            EXPECT_EQ(library.sentTo("ALIVE").size(), aliveBefore) << "a tick ran inside a tick";
            answers.sendNotFound(terminal);
            throw SilentAbort();
        },
        log);
    library.setSlot(0, 5, "10.0.0.5");
    library.table.count = 1;
    QTimer timer2;
    QObject::connect(&timer2, &QTimer::timeout, [&] {
        ++timer2Fired;
        polling.Timer2Timer();
    });

    run([&] {
        markRows({1});
        timer2.start(0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !library.sentTo("ALIVE").empty(); }))
            << "ticks run while the dialog is open";

        library.queueBarcode(5, "111");
        polling.Timer1Timer();
        EXPECT_EQ(library.sentTo("NOTFOUND"), std::vector<int32_t>{5});
        EXPECT_EQ(marks(), "NNNNN") << "the walk ran";

        const size_t alive = library.sentTo("ALIVE").size();
        EXPECT_TRUE(QTest::qWaitFor([&] { return library.sentTo("ALIVE").size() > alive; }))
            << "ticks go on once the tick has ended";
        timer2.stop();
        key(Qt::Key_Escape);
    });
}

} // namespace
} // namespace precivox
