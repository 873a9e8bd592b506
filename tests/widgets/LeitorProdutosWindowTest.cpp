#include "LeitorProdutosWindow.h"

#include "CaptionCheck.h"
#include "FakePanel.h"
#include "FakeTerminalLibrary.h"
#include "LeitorProdutos.h"
#include "MessageBoxPrompter.h"
#include "SelecionarTabelaDesconto.h"
#include "SelecionarTabelaDialogs.h"
#include "TerminalConnection.h"
#include "TerminalServer.h"
#include "TestDatabase.h"
#include "WindowWiring.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace precivox {
namespace {

using namespace std::chrono_literals;
using testing::FakePrompter;
using testing::FakeTerminalLibrary;

struct FixedClock : Clock {
    DateTime now() const override { return {2026, 12, 11, 10, 0, 0, 0}; }
};

std::string readFile(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

template <typename Widget = QWidget> Widget* child(QWidget& window, const char* name) {
    auto* widget = window.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void click(QWidget& window, const char* name) {
    QTest::mouseClick(child(window, name), Qt::LeftButton);
}

// Runs `answer` on the next message box that opens, then presses its OK button.
void answerNextBox(std::function<void(QMessageBox&)> answer) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        answer(*box);
        box->button(QMessageBox::Ok)->click();
    });
    poll->start();
}

// The main window wired to its form, as the program wires them, with terminals of the
// test's choosing; the database only where a test gives one.
class MainWindow : public ::testing::Test {
protected:
    FakePrompter prompter;
    std::ostringstream log;
    FixedClock clock;
    const std::filesystem::path noSettings = "/nonexistent/sistema_yor.ini";
    int ended = 0;

    std::unique_ptr<TFLeitorProdutos> wire(TerminalLibrary& library, LeitorProdutosWindow& window,
                                           Prompter& errors,
                                           DiscountTableDialogFactory* dialogs = nullptr) {
        auto form = std::make_unique<TFLeitorProdutos>(
            std::make_unique<TdmGerente>(errors, noSettings),
            TFLeitorProdutos::Services{library, window, errors, log, clock, noSettings,
                                       [this] { ++ended; }, &window, dialogs});
        connectWindow(window, *form, errors);
        return form;
    }

    static void showActive(QWidget& window) {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

TEST_F(MainWindow, ControlsSitWhereTheOperatorsKnowThem) {
    LeitorProdutosWindow window([] { return true; });
    EXPECT_EQ(window.windowTitle().toStdString(), "Precivox 1.0.0.8");
    EXPECT_EQ(window.size(), QSize(569, 167));
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "fixed size";
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(window.windowIcon().isNull());

    const struct {
        const char* name;
        const char* parent;
        QRect geometry;
        QString text;
        bool enabled;
    } controls[] = {
        {"Panel2", "FLeitorProdutos", {0, 0, 313, 167}, {}, true},
        {"ListBConec", "Panel2", {1, 1, 104, 165}, {}, true},
        {"LabServIP", "Panel2", {111, 5, 80, 13}, "Servidor", true},
        {"edServer", "Panel2", {111, 18, 80, 21}, "192.168.0.1", false},
        {"LabCliIP", "Panel2", {111, 45, 80, 13}, "Client IP", true},
        {"edCliente", "Panel2", {111, 58, 80, 21}, "192.168.0.1", false},
        {"LabNetMask", "Panel2", {111, 85, 80, 13}, "Mascara", true},
        {"edMascara", "Panel2", {111, 98, 80, 21}, "192.168.0.1", false},
        {"LabTimeExi", "Panel2", {111, 125, 80, 13}, "Tempo Exibição", true},
        {"edTempo", "Panel2", {111, 138, 80, 21}, "1", false},
        {"LabText1", "Panel2", {194, 5, 111, 13}, "Texto 1", true},
        {"edTexto1", "Panel2", {194, 18, 111, 21}, "192.168.0.1", false},
        {"LabText2", "Panel2", {194, 45, 111, 13}, "Texto 2", true},
        {"edTexto2", "Panel2", {194, 58, 111, 21}, "192.168.0.1", false},
        {"LabText3", "Panel2", {194, 85, 111, 13}, "Texto 3", true},
        {"edTexto3", "Panel2", {194, 98, 111, 21}, "192.168.0.1", false},
        {"LabText4", "Panel2", {194, 125, 111, 13}, "Texto 4", true},
        {"edTexto4", "Panel2", {194, 138, 111, 21}, "192.168.0.1", false},
        {"Panel1", "FLeitorProdutos", {326, 0, 243, 167}, {}, true},
        {"GroupBox1", "Panel1", {6, 3, 231, 95}, {}, true},
        {"checkTabela", "GroupBox1", {13, 15, 108, 17}, "Selecionar Tabela", true},
        {"Label1", "GroupBox1", {65, 43, 100, 13}, "Tabela de Desconto:", false},
        {"lblTabela", "GroupBox1", {18, 65, 196, 13}, "", false},
        {"bSalvar", "Panel1", {8, 107, 105, 25}, "Salvar Configuração", false},
        {"bConfigur", "Panel1", {8, 132, 105, 25}, "Configuração", true},
        {"Bevel1", "Panel1", {122, 108, 2, 50}, {}, true},
        {"bMinimizar", "Panel1", {133, 107, 105, 25}, "Esconder", true},
        {"bSair", "Panel1", {133, 132, 105, 25}, "Sair", true},
    };
    for (const auto& c : controls) {
        QWidget* widget = child(window, c.name);
        if (!widget)
            continue;
        EXPECT_EQ(widget->parentWidget()->objectName(), c.parent) << c.name;
        EXPECT_EQ(widget->geometry(), c.geometry) << c.name;
        EXPECT_EQ(widget->isEnabled(), c.enabled) << c.name;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        else if (auto* edit = qobject_cast<QLineEdit*>(widget))
            text = edit->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            text = button->text();
        EXPECT_EQ(text.toStdString(), c.text.toStdString()) << c.name;
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(226, 231, 227)) << c.name;
        }
    }
    EXPECT_FALSE(child<QCheckBox>(window, "checkTabela")->isChecked());
    EXPECT_EQ(child<QLabel>(window, "lblTabela")->alignment(), Qt::AlignCenter);
    EXPECT_EQ(window.configBox(ConfigBox::text4)->maxLength(), 21);
    EXPECT_EQ(test::clippedCaptions(window), std::vector<std::string>{});

    // A description wider than the label keeps the label's size: cut short, whole in the tip.
    const std::string longest(60, 'W');
    window.showChosenTable(longest);
    auto* lblTabela = child<QLabel>(window, "lblTabela");
    EXPECT_TRUE(lblTabela->text().endsWith(QChar(0x2026)));
    EXPECT_EQ(lblTabela->toolTip().toStdString(), longest);
    EXPECT_EQ(test::clippedCaptions(window), std::vector<std::string>{});

    EXPECT_EQ(window.trayIcon()->toolTip().toStdString(), "Precivox");
    EXPECT_FALSE(window.trayIcon()->icon().isNull());
}

TEST_F(MainWindow, EnterMovesTheFocusAsTabDoesSkippingDisabledControls) {
    FakeTerminalLibrary library;
    LeitorProdutosWindow window;
    auto form = wire(library, window, prompter);
    showActive(window);

    auto walk = [&](const char* from, Qt::Key key, size_t steps) {
        child(window, from)->setFocus();
        std::vector<std::string> names;
        for (size_t i = 0; i < steps; ++i) {
            QTest::keyClick(QApplication::focusWidget(), key);
            names.push_back(QApplication::focusWidget()->objectName().toStdString());
        }
        return names;
    };
    const std::vector<std::string> viewing{"bSair", "bMinimizar", "bConfigur", "checkTabela",
                                           "ListBConec"};
    EXPECT_EQ(walk("ListBConec", Qt::Key_Return, 5), viewing);
    EXPECT_EQ(walk("ListBConec", Qt::Key_Enter, 5), viewing);
    EXPECT_EQ(walk("ListBConec", Qt::Key_Tab, 5), viewing);

    window.setConfigEditing(true);
    const std::vector<std::string> editing{
        "edCliente",  "edMascara", "edTexto1",   "edTexto2", "edTempo",     "edTexto3", "edTexto4",
        "ListBConec", "bSair",     "bMinimizar", "bSalvar",  "checkTabela", "edServer"};
    EXPECT_EQ(walk("edServer", Qt::Key_Return, 13), editing);
    EXPECT_EQ(walk("edServer", Qt::Key_Tab, 13), editing);
    EXPECT_TRUE(library.sent.empty());
    EXPECT_EQ(ended, 0);
}

TEST_F(MainWindow, EveryWayOfClosingRunsTheCloseHandlerOnceAndSendsNothing) {
    const struct {
        const char* name;
        std::function<void(LeitorProdutosWindow&)> close;
    } ways[] = {
        {"Sair", [](LeitorProdutosWindow& w) { click(w, "bSair"); }},
        {"Esc while editing",
         [](LeitorProdutosWindow& w) {
             w.setConfigEditing(true);
             w.configBox(ConfigBox::text1)->setText("EDITADO");
             QTest::keyClick(w.configBox(ConfigBox::text1), Qt::Key_Escape);
         }},
        {"Esc in the list",
         [](LeitorProdutosWindow& w) { QTest::keyClick(w.terminalList(), Qt::Key_Escape); }},
        {"title bar", [](LeitorProdutosWindow& w) { w.close(); }},
        {"while hidden",
         [](LeitorProdutosWindow& w) {
             w.hide();
             w.close();
         }},
    };
    for (const auto& way : ways) {
        FakeTerminalLibrary library;
        LeitorProdutosWindow window([] { return true; });
        auto form = wire(library, window, prompter);
        window.show();
        ended = 0;
        way.close(window);
        EXPECT_EQ(ended, 1) << way.name;
        EXPECT_EQ(form->conexao(), nullptr) << way.name << ": CONEXAO destroyed";
        EXPECT_EQ(form->dmGerente(), nullptr) << way.name;
        EXPECT_FALSE(window.trayIcon()->isVisible()) << way.name;
        EXPECT_TRUE(library.sent.empty()) << way.name;
        window.close();
        EXPECT_EQ(ended, 1) << way.name << ": once";
    }
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(MainWindow, HidesBehindItsIconAndComesBackOnAClick) {
    LeitorProdutosWindow window([] { return true; });
    QSystemTrayIcon& tray = *window.trayIcon();
    window.show();
    EXPECT_TRUE(tray.isVisible()) << "after start";

    emit tray.activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(tray.isVisible()) << "a click on the icon changes nothing while shown";

    const QSystemTrayIcon::ActivationReason clicks[] = {
        QSystemTrayIcon::Trigger, QSystemTrayIcon::Context, QSystemTrayIcon::MiddleClick};
    for (auto reason : clicks) {
        click(window, "bMinimizar");
        EXPECT_FALSE(window.isVisible()) << reason;
        EXPECT_TRUE(tray.isVisible()) << reason;
        emit tray.activated(reason);
        EXPECT_TRUE(window.isVisible()) << reason;
        EXPECT_FALSE(tray.isVisible()) << reason;
    }
}

TEST_F(MainWindow, WithoutANotificationAreaEsconderMinimisesInstead) {
    LeitorProdutosWindow window([] { return false; });
    window.show();
    click(window, "bMinimizar");
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMinimized());
}

// The configuration of a real terminal, through the real terminal library.
class ConfigurationFlow : public MainWindow {
protected:
    void SetUp() override {
        TerminalServerOptions options;
        options.endpoint = ListenAddress{{127, 0, 0, 1}, 0};
        options.log = log;
        server = std::make_unique<TerminalServer>(options);
        server->vInitialize();
        server->tc_startserver();
        ASSERT_NE(server->listeningPort(), 0) << log.str();
        form = wire(*server, window, prompter);
        showActive(window);
    }

    std::unique_ptr<TerminalConnection> registerTerminal(int32_t number) {
        auto terminal =
            std::make_unique<TerminalConnection>("127.0.0.1", server->listeningPort(), 5s);
        terminal->send("HELLO " + std::to_string(number) + "\n");
        EXPECT_EQ(nextMessage(*terminal), "WELCOME " + std::to_string(number));
        return terminal;
    }

    // The next line other than a keep-alive, or "<none>".
    static std::string nextMessage(TerminalConnection& terminal,
                                   std::chrono::milliseconds wait = 5s) {
        for (;;) {
            auto reading = terminal.readLine(wait);
            if (reading.status != TerminalConnection::Status::Line)
                return "<none>";
            if (reading.line != "ALIVE")
                return reading.line;
        }
    }

    void clickLine(int row) {
        QListWidget* list = window.terminalList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    void type(ConfigBox box, const QString& text) {
        window.configBox(box)->selectAll();
        QTest::keyClicks(window.configBox(box), text);
    }

    bool boxesOpen() {
        for (ConfigBox box :
             {ConfigBox::server, ConfigBox::client, ConfigBox::mask, ConfigBox::text1,
              ConfigBox::text2, ConfigBox::text3, ConfigBox::text4, ConfigBox::displayTime}) {
            QLineEdit* edit = window.configBox(box);
            const QColor expected = edit->isEnabled() ? Qt::white : QColor(226, 231, 227);
            EXPECT_EQ(edit->palette().color(QPalette::Base), expected)
                << edit->objectName().toStdString();
        }
        const bool open = window.configBox(ConfigBox::server)->isEnabled();
        EXPECT_EQ(child(window, "bSalvar")->isEnabled(), open);
        EXPECT_EQ(child(window, "bConfigur")->isEnabled(), !open);
        return open;
    }

    std::unique_ptr<TerminalServer> server;
    LeitorProdutosWindow window{[] { return true; }};
    std::unique_ptr<TFLeitorProdutos> form;
};

TEST_F(ConfigurationFlow, AskShowEditAndSendToTheTerminalClickedLast) {
    auto nine = registerTerminal(9);
    auto three = registerTerminal(3);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        form->polling().Timer2Timer();
        return window.terminalList()->count() == 2;
    }));
    EXPECT_EQ(window.terminalList()->item(0)->text().toStdString(), "127.0.0.1:9");

    click(window, "bConfigur");
    EXPECT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes.at(0).text, "Escolha um terminal.");
    EXPECT_FALSE(boxesOpen());

    clickLine(0);
    EXPECT_EQ(form->FTerminalConfig, 9);
    click(window, "bConfigur");
    EXPECT_TRUE(boxesOpen());
    EXPECT_EQ(nextMessage(*nine), "GETCONFIG");

    nine->send("CONFIG 10.0.0.1\t10.0.0.9\t255.0.0.0\tOL\xC1\tB\tC\tD\t200\n");
    ASSERT_TRUE(QTest::qWaitFor([&] {
        form->polling().Timer1Timer();
        return window.configBox(ConfigBox::server)->text() == "10.0.0.1";
    }));
    EXPECT_EQ(window.configBox(ConfigBox::client)->text().toStdString(), "10.0.0.9");
    EXPECT_EQ(window.configBox(ConfigBox::text1)->text().toStdString(), "OLÁ");
    EXPECT_EQ(window.configBox(ConfigBox::displayTime)->text().toStdString(), "200");
    EXPECT_TRUE(boxesOpen()) << "a reply leaves the boxes open";

    type(ConfigBox::text2, "PROMOÇÃO");
    type(ConfigBox::text3, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    type(ConfigBox::displayTime, "300");
    clickLine(1);
    EXPECT_EQ(form->FTerminalConfig, 3);
    click(window, "bSalvar");
    EXPECT_EQ(nextMessage(*three),
              "SETCONFIG 10.0.0.1\t10.0.0.9\t255.0.0.0\tOL\xC1\tPROMO\xC7\xC3O\t"
              "ABCDEFGHIJKLMNOPQRSTU\tD\t44");
    EXPECT_FALSE(boxesOpen());
    EXPECT_EQ(nextMessage(*nine, 200ms), "<none>") << "the terminal asked is not sent to";
    EXPECT_EQ(prompter.boxes.size(), 1u);
}

TEST_F(ConfigurationFlow, ADisplayTimeThatIsNoIntegerLeavesTheBoxesOpenAndSendsNothing) {
    auto three = registerTerminal(3);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        form->polling().Timer2Timer();
        return window.terminalList()->count() == 1;
    }));
    clickLine(0);
    click(window, "bConfigur");
    EXPECT_EQ(nextMessage(*three), "GETCONFIG");

    type(ConfigBox::displayTime, "abc");
    click(window, "bSalvar");
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text, "'abc' is not a valid integer value.");
    EXPECT_EQ(prompter.boxes[0].caption, "Precivox");
    EXPECT_EQ(prompter.boxes[0].icon, MessageIcon::error);
    EXPECT_TRUE(boxesOpen());

    type(ConfigBox::displayTime, "0x10");
    click(window, "bSalvar");
    const std::string sent = nextMessage(*three);
    EXPECT_EQ(sent.substr(0, 10), "SETCONFIG ") << "nothing went out for abc";
    EXPECT_EQ(sent.substr(sent.rfind('\t') + 1), "16");
    EXPECT_FALSE(boxesOpen());
}

TEST_F(MainWindow, TicksGoOnUnderAMessageBox) {
    FakeTerminalLibrary library;
    library.setSlot(0, 5, "10.0.0.5");
    library.table.count = 1;
    LeitorProdutosWindow window([] { return true; });
    MessageBoxPrompter boxes(&window);
    auto form = wire(library, window, boxes);
    window.show();
    QTimer timer2;
    QObject::connect(&timer2, &QTimer::timeout, [&] { form->polling().Timer2Timer(); });
    timer2.start(5);

    bool answered = false;
    answerNextBox([&](QMessageBox& box) {
        EXPECT_EQ(box.text().toStdString(), "Escolha um terminal.");
        EXPECT_EQ(box.parentWidget(), &window);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !library.sentTo("ALIVE").empty(); }))
            << "the list is kept alive while the box is open";
        answered = true;
    });
    click(window, "bConfigur");
    EXPECT_TRUE(answered);
    EXPECT_FALSE(window.configBox(ConfigBox::server)->isEnabled());
    EXPECT_TRUE(library.sentTo("GETCONFIG").empty());
}

// The discount table box with the real dialog on the test server.
class DiscountTableBox : public MainWindow {
protected:
    void SetUp() override {
        db.run(readFile(PRECIVOX_SQL_DIR "/schema.sql"));
        db.run("insert into tabela_desconto (tabela_desconto_id, descricao, apagado) values"
               " (3, 'ATACADO', 'N'), (5, concat('CART', char(195), 'O DE CR', char(201),"
               " 'DITO'), 'N'), (8, concat('PADR', char(195), 'O'), 'N');"
               "insert into empresa_tab_desconto (tabela_desconto_id, empresa_id, filial_id,"
               " padrao, apagado) values (8, 0, 1, 'S', 'N')");
        form = wire(library, window, boxes, &dialogs);
        form->conexao()->parameters() = db.parameters();
        form->FCodLogica = 1;
        window.show();
    }

    // Ticks the box and runs `script` inside the dialog once it is open.
    void tickWith(std::function<void(TFSelecionarTabela&)> script) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = dynamic_cast<TFSelecionarTabela*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ran = true;
            script(*dialog);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the script left the dialog open";
                dialog->reject();
            }
        });
        click(window, "checkTabela");
        EXPECT_TRUE(ran);
    }

    static void key(TFSelecionarTabela& dialog, Qt::Key key) {
        QTest::keyClick(dialog.grid(), key);
    }

    void expectNoTable() {
        EXPECT_FALSE(checkTabela()->isChecked());
        EXPECT_FALSE(child(window, "Label1")->isEnabled());
        EXPECT_FALSE(child(window, "lblTabela")->isEnabled());
        EXPECT_EQ(child<QLabel>(window, "lblTabela")->text().toStdString(), "");
        EXPECT_EQ(form->FTabelaDesconto, 0);
    }

    QCheckBox* checkTabela() { return child<QCheckBox>(window, "checkTabela"); }

    test::TestDatabase db;
    FakeTerminalLibrary library;
    LeitorProdutosWindow window{[] { return true; }};
    MessageBoxPrompter boxes{&window};
    SelecionarTabelaDialogs dialogs{window};
    std::unique_ptr<TFLeitorProdutos> form;
};

TEST_F(DiscountTableBox, OkShowsTheMarkedTableAndUntickingForgetsIt) {
    tickWith([&](TFSelecionarTabela& dialog) {
        bool refused = false;
        answerNextBox([&](QMessageBox& box) {
            EXPECT_EQ(box.windowTitle().toStdString(), "Atenção");
            EXPECT_EQ(box.text().toStdString(), "Defina uma tabela de desconto.");
            EXPECT_EQ(box.icon(), QMessageBox::Information);
            EXPECT_EQ(box.parentWidget(), &dialog) << "the dialog owns its boxes";
            refused = true;
        });
        key(dialog, Qt::Key_F3);
        EXPECT_TRUE(refused);
        key(dialog, Qt::Key_Down);
        key(dialog, Qt::Key_F5);
        key(dialog, Qt::Key_F3);
    });
    EXPECT_TRUE(checkTabela()->isChecked());
    EXPECT_TRUE(child(window, "Label1")->isEnabled());
    EXPECT_TRUE(child(window, "lblTabela")->isEnabled());
    EXPECT_EQ(child<QLabel>(window, "lblTabela")->text().toStdString(), "CARTÃO DE CRÉDITO");
    EXPECT_EQ(form->FTabelaDesconto, 5);
    EXPECT_EQ(test::clippedCaptions(window), std::vector<std::string>{});

    QTest::mouseClick(checkTabela(), Qt::LeftButton);
    expectNoTable();
}

TEST_F(DiscountTableBox, CancelAfterAChoiceClearsIt) {
    tickWith([&](TFSelecionarTabela& dialog) {
        key(dialog, Qt::Key_F5);
        key(dialog, Qt::Key_F3);
    });
    ASSERT_EQ(form->FTabelaDesconto, 3);
    QTest::mouseClick(checkTabela(), Qt::LeftButton);
    expectNoTable();
    tickWith([&](TFSelecionarTabela& dialog) { key(dialog, Qt::Key_Escape); });
    expectNoTable();
}

TEST_F(DiscountTableBox, CancelClearsTheDefaultTableThePriceQueryStored) {
    library.queueBarcode(1, "999");
    form->polling().Timer1Timer();
    EXPECT_EQ(library.sentTo("NOTFOUND"), std::vector<int32_t>{1});
    ASSERT_EQ(form->FTabelaDesconto, 8);
    EXPECT_FALSE(child(window, "lblTabela")->isEnabled()) << "the default is not shown";

    tickWith([&](TFSelecionarTabela& dialog) {
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    });
    expectNoTable();
}

} // namespace
} // namespace precivox
