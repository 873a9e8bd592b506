#pragma once

#include "DiscountTableChoice.h"
#include "TerminalViews.h"

#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSystemTrayIcon;

namespace precivox {

class Prompter;

// The main window's widgets, laid out as the store's operators know them, with its icon
// in the notification area. Its behaviour lives elsewhere: events go to the handlers it
// is given, and the terminal service and the discount table choice write into it
// through TerminalPanel and DiscountTableView.
class LeitorProdutosWindow : public QWidget, public TerminalPanel, public DiscountTableView {
public:
    struct Handlers {
        std::function<void()> FormClose;
        std::function<void()> ListBConecClick;
        std::function<void()> bConfigurClick;
        std::function<void()> bSalvarClick;
        std::function<void()> checkTabelaClick;
    };

    // `trayAvailable` tells whether the desktop has a notification area right now.
    explicit LeitorProdutosWindow(std::function<bool()> trayAvailable = defaultTrayAvailable);
    ~LeitorProdutosWindow() override;

    // Every handler runs at its event's edge: the silent abort ends it quietly and any
    // other error is shown through `errors`.
    void setHandlers(Handlers handlers, Prompter& errors);

    void showTerminals(const std::vector<std::string>& lines, int highlighted) override;
    int selectedTerminalLine() const override;
    std::string configText(ConfigBox box) const override;
    void setConfigText(ConfigBox box, const std::string& text) override;
    void setConfigEditing(bool editing) override;

    bool tableBoxTicked() const override;
    void untickTableBox() override;
    void showChosenTable(const std::string& description) override;
    void showNoTable() override;

    // "Esconder", and a click on the icon in the notification area.
    void bMinimizarClick();
    void RxTrayIcon1Click();

    QLineEdit* configBox(ConfigBox box) const { return boxes_[static_cast<size_t>(box)]; }
    QListWidget* terminalList() const { return ListBConec; }
    QSystemTrayIcon* trayIcon() const { return RxTrayIcon1; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    static bool defaultTrayAvailable();

    QLineEdit* addConfigBox(const char* name, const char* labelName, const QString& caption,
                            int left, int top, int width);
    bool FormKeyDown(int key);
    void handle(const std::function<void()>& handler);

    std::function<bool()> trayAvailable_;
    Handlers handlers_;
    Prompter* errors_ = nullptr;
    bool closing_ = false;

    QFrame* Panel1;
    QFrame* Panel2;
    QListWidget* ListBConec;
    std::array<QLineEdit*, 8> boxes_{};
    QGroupBox* GroupBox1;
    QCheckBox* checkTabela;
    QLabel* Label1;
    QLabel* lblTabela;
    QPushButton* bSalvar;
    QPushButton* bConfigur;
    QPushButton* bMinimizar;
    QPushButton* bSair;
    QSystemTrayIcon* RxTrayIcon1;
};

} // namespace precivox
