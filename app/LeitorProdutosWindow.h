#pragma once

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

namespace precivox {

// The main window's widgets, laid out as the store's operators know them. It holds no
// behaviour: events go to the handlers it is given, and the terminal service writes
// into it through TerminalPanel.
class LeitorProdutosWindow : public QWidget, public TerminalPanel {
public:
    struct Handlers {
        std::function<void()> FormClose;
        std::function<void()> ListBConecClick;
        std::function<void()> bConfigurClick;
        std::function<void()> bSalvarClick;
        std::function<void()> bMinimizarClick;
        std::function<void()> checkTabelaClick;
    };

    explicit LeitorProdutosWindow(QWidget* parent = nullptr);

    void setHandlers(Handlers handlers) { handlers_ = std::move(handlers); }

    void showTerminals(const std::vector<std::string>& lines, int highlighted) override;
    int selectedTerminalLine() const override;
    std::string configText(ConfigBox box) const override;
    void setConfigText(ConfigBox box, const std::string& text) override;
    void setConfigEditing(bool editing) override;

    QLineEdit* configBox(ConfigBox box) const { return boxes_[static_cast<size_t>(box)]; }
    QListWidget* terminalList() const { return ListBConec; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* addConfigBox(QWidget* parent, const char* name, const QString& caption, int left,
                            int top, int width);
    void handle(const std::function<void()>& handler);

    Handlers handlers_;
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
};

} // namespace precivox
