#include "LeitorProdutosWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace precivox {

namespace {

// The light grey 14936034 of the boxes while they cannot be edited.
const QColor kViewingColour(226, 231, 227);
const QColor kEditingColour(255, 255, 255);

void paintBox(QLineEdit* box, const QColor& colour) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

template <typename Widget>
Widget* placed(Widget* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(name);
    widget->setGeometry(left, top, width, height);
    return widget;
}

} // namespace

LeitorProdutosWindow::LeitorProdutosWindow(QWidget* parent) : QWidget(parent) {
    setWindowTitle("Precivox 1.0.0.8");
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(569, 167);
    QFont font = this->font();
    font.setFamily("Sans Serif");
    font.setPointSize(8);
    setFont(font);

    Panel2 = placed(new QFrame(this), "Panel2", 0, 0, 313, 167);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    ListBConec = placed(new QListWidget(Panel2), "ListBConec", 1, 1, 104, 165);
    ListBConec->setUniformItemSizes(true);
    connect(ListBConec, &QListWidget::itemClicked, this,
            [this] { handle(handlers_.ListBConecClick); });

    boxes_[size_t(ConfigBox::server)] = addConfigBox(Panel2, "edServer", "Servidor", 111, 5, 80);
    boxes_[size_t(ConfigBox::client)] = addConfigBox(Panel2, "edCliente", "Client IP", 111, 45, 80);
    boxes_[size_t(ConfigBox::mask)] = addConfigBox(Panel2, "edMascara", "Mascara", 111, 85, 80);
    boxes_[size_t(ConfigBox::displayTime)] =
        addConfigBox(Panel2, "edTempo", "Tempo Exibição", 111, 125, 80);
    boxes_[size_t(ConfigBox::text1)] = addConfigBox(Panel2, "edTexto1", "Texto 1", 194, 5, 111);
    boxes_[size_t(ConfigBox::text2)] = addConfigBox(Panel2, "edTexto2", "Texto 2", 194, 45, 111);
    boxes_[size_t(ConfigBox::text3)] = addConfigBox(Panel2, "edTexto3", "Texto 3", 194, 85, 111);
    boxes_[size_t(ConfigBox::text4)] = addConfigBox(Panel2, "edTexto4", "Texto 4", 194, 125, 111);
    configBox(ConfigBox::displayTime)->setText("1");

    Panel1 = placed(new QFrame(this), "Panel1", 326, 0, 243, 167);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    GroupBox1 = placed(new QGroupBox(Panel1), "GroupBox1", 6, 3, 231, 95);
    checkTabela =
        placed(new QCheckBox("Selecionar Tabela", GroupBox1), "checkTabela", 13, 15, 108, 17);
    connect(checkTabela, &QCheckBox::toggled, this, [this] { handle(handlers_.checkTabelaClick); });
    Label1 = placed(new QLabel("Tabela de Desconto:", GroupBox1), "Label1", 65, 43, 100, 13);
    Label1->setEnabled(false);
    lblTabela = placed(new QLabel(GroupBox1), "lblTabela", 18, 65, 196, 13);
    lblTabela->setAlignment(Qt::AlignCenter);
    lblTabela->setEnabled(false);

    bSalvar = placed(new QPushButton("Salvar Configuração", Panel1), "bSalvar", 8, 107, 105, 25);
    bSalvar->setEnabled(false);
    connect(bSalvar, &QPushButton::clicked, this, [this] { handle(handlers_.bSalvarClick); });
    bConfigur = placed(new QPushButton("Configuração", Panel1), "bConfigur", 8, 132, 105, 25);
    connect(bConfigur, &QPushButton::clicked, this, [this] { handle(handlers_.bConfigurClick); });
    auto* bevel = placed(new QFrame(Panel1), "Bevel1", 122, 108, 2, 50);
    bevel->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    bMinimizar = placed(new QPushButton("Esconder", Panel1), "bMinimizar", 133, 107, 105, 25);
    connect(bMinimizar, &QPushButton::clicked, this, [this] { handle(handlers_.bMinimizarClick); });
    bSair = placed(new QPushButton("Sair", Panel1), "bSair", 133, 132, 105, 25);
    connect(bSair, &QPushButton::clicked, this, &QWidget::close);

    setTabOrder(configBox(ConfigBox::server), configBox(ConfigBox::client));
    setTabOrder(configBox(ConfigBox::client), configBox(ConfigBox::mask));
    setTabOrder(configBox(ConfigBox::mask), configBox(ConfigBox::text1));
    setTabOrder(configBox(ConfigBox::text1), configBox(ConfigBox::text2));
    setTabOrder(configBox(ConfigBox::text2), configBox(ConfigBox::displayTime));
    setTabOrder(configBox(ConfigBox::displayTime), configBox(ConfigBox::text3));
    setTabOrder(configBox(ConfigBox::text3), configBox(ConfigBox::text4));
    setTabOrder(configBox(ConfigBox::text4), ListBConec);
    setTabOrder(ListBConec, bSair);
    setTabOrder(bSair, bMinimizar);
    setTabOrder(bMinimizar, bConfigur);
    setTabOrder(bConfigur, bSalvar);
    setTabOrder(bSalvar, checkTabela);
    setConfigEditing(false);
}

QLineEdit* LeitorProdutosWindow::addConfigBox(QWidget* parent, const char* name,
                                              const QString& caption, int left, int top,
                                              int width) {
    auto* label = new QLabel(caption, parent);
    label->move(left, top);
    label->adjustSize();
    auto* box = placed(new QLineEdit("192.168.0.1", parent), name, left, top + 13, width, 21);
    label->setBuddy(box);
    return box;
}

void LeitorProdutosWindow::handle(const std::function<void()>& handler) {
    if (handler)
        handler();
}

void LeitorProdutosWindow::showTerminals(const std::vector<std::string>& lines, int highlighted) {
    ListBConec->clear();
    for (const auto& line : lines)
        ListBConec->addItem(QString::fromStdString(line));
    if (highlighted >= 0)
        ListBConec->setCurrentRow(highlighted);
}

int LeitorProdutosWindow::selectedTerminalLine() const {
    return ListBConec->currentRow();
}

std::string LeitorProdutosWindow::configText(ConfigBox box) const {
    return configBox(box)->text().toStdString();
}

void LeitorProdutosWindow::setConfigText(ConfigBox box, const std::string& text) {
    configBox(box)->setText(QString::fromStdString(text));
}

void LeitorProdutosWindow::setConfigEditing(bool editing) {
    for (ConfigBox box :
         {ConfigBox::server, ConfigBox::client, ConfigBox::mask, ConfigBox::displayTime,
          ConfigBox::text1, ConfigBox::text2, ConfigBox::text3, ConfigBox::text4}) {
        configBox(box)->setEnabled(editing);
        paintBox(configBox(box), editing ? kEditingColour : kViewingColour);
    }
    bSalvar->setEnabled(editing);
    bConfigur->setEnabled(!editing);
}

void LeitorProdutosWindow::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        handle(handlers_.FormClose);
    }
    event->accept();
}

void LeitorProdutosWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace precivox
