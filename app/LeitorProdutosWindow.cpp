#include "LeitorProdutosWindow.h"

#include "CaptionFit.h"
#include "ErrorReporting.h"
#include "KeyPreview.h"
#include "PrecivoxIcon.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QSystemTrayIcon>

namespace precivox {

namespace {

// The light grey 14936034 of the boxes while they cannot be edited.
const QColor kViewingColour(226, 231, 227);
const QColor kEditingColour(255, 255, 255);

constexpr int kLabelHeight = 13;
constexpr int kListItemHeight = 13;
constexpr int kConfigTextLength = 21; // the terminal's fields hold no more

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

class FixedHeightItems : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kListItemHeight};
    }
};

} // namespace

LeitorProdutosWindow::LeitorProdutosWindow(std::function<bool()> trayAvailable)
    : QWidget(nullptr), trayAvailable_(std::move(trayAvailable)) {
    setObjectName("FLeitorProdutos");
    setWindowTitle("Precivox 1.0.0.8");
    setWindowIcon(precivoxIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(569, 167);
    setFont(desktopSansSerif(8));

    Panel2 = placed(new QFrame(this), "Panel2", 0, 0, 313, 167);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    ListBConec = placed(new QListWidget(Panel2), "ListBConec", 1, 1, 104, 165);
    ListBConec->setUniformItemSizes(true);
    ListBConec->setItemDelegate(new FixedHeightItems(ListBConec));
    // A click, or a move with the keys; never the refresh's own highlight (it blocks).
    connect(ListBConec, &QListWidget::currentRowChanged, this,
            [this] { handle(handlers_.ListBConecClick); });
    connect(ListBConec, &QListWidget::clicked, this, [this] { handle(handlers_.ListBConecClick); });

    boxes_[size_t(ConfigBox::server)] =
        addConfigBox("edServer", "LabServIP", "Servidor", 111, 5, 80);
    boxes_[size_t(ConfigBox::client)] =
        addConfigBox("edCliente", "LabCliIP", "Client IP", 111, 45, 80);
    boxes_[size_t(ConfigBox::mask)] =
        addConfigBox("edMascara", "LabNetMask", "Mascara", 111, 85, 80);
    boxes_[size_t(ConfigBox::displayTime)] =
        addConfigBox("edTempo", "LabTimeExi", "Tempo Exibição", 111, 125, 80);
    boxes_[size_t(ConfigBox::text1)] = addConfigBox("edTexto1", "LabText1", "Texto 1", 194, 5, 111);
    boxes_[size_t(ConfigBox::text2)] =
        addConfigBox("edTexto2", "LabText2", "Texto 2", 194, 45, 111);
    boxes_[size_t(ConfigBox::text3)] =
        addConfigBox("edTexto3", "LabText3", "Texto 3", 194, 85, 111);
    boxes_[size_t(ConfigBox::text4)] =
        addConfigBox("edTexto4", "LabText4", "Texto 4", 194, 125, 111);
    configBox(ConfigBox::displayTime)->setText("1");
    for (ConfigBox box : {ConfigBox::server, ConfigBox::client, ConfigBox::mask, ConfigBox::text1,
                          ConfigBox::text2, ConfigBox::text3, ConfigBox::text4})
        configBox(box)->setMaxLength(kConfigTextLength);

    Panel1 = placed(new QFrame(this), "Panel1", 326, 0, 243, 167);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    GroupBox1 = placed(new QGroupBox(Panel1), "GroupBox1", 6, 3, 231, 95);
    checkTabela =
        placed(new QCheckBox("Selecionar Tabela", GroupBox1), "checkTabela", 13, 15, 108, 17);
    // Every change of the box, by the operator or by the program, runs its handler.
    connect(checkTabela, &QCheckBox::toggled, this, [this] { handle(handlers_.checkTabelaClick); });
    Label1 = placed(new QLabel("Tabela de Desconto:", GroupBox1), "Label1", 65, 43, 100, 13);
    Label1->setEnabled(false);
    lblTabela = placed(new QLabel(GroupBox1), "lblTabela", 18, 65, 196, 13);
    lblTabela->setAlignment(Qt::AlignCenter);
    lblTabela->setEnabled(false);

    bSalvar = placed(new QPushButton("Salvar Configuração", Panel1), "bSalvar", 8, 107, 105, 25);
    connect(bSalvar, &QPushButton::clicked, this, [this] { handle(handlers_.bSalvarClick); });
    bConfigur = placed(new QPushButton("Configuração", Panel1), "bConfigur", 8, 132, 105, 25);
    connect(bConfigur, &QPushButton::clicked, this, [this] { handle(handlers_.bConfigurClick); });
    auto* bevel = placed(new QFrame(Panel1), "Bevel1", 122, 108, 2, 50);
    bevel->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    bMinimizar = placed(new QPushButton("Esconder", Panel1), "bMinimizar", 133, 107, 105, 25);
    connect(bMinimizar, &QPushButton::clicked, this, [this] { bMinimizarClick(); });
    bSair = placed(new QPushButton("Sair", Panel1), "bSair", 133, 132, 105, 25);
    connect(bSair, &QPushButton::clicked, this, &QWidget::close);
    for (QPushButton* button : {bSalvar, bConfigur, bMinimizar, bSair})
        button->setAutoDefault(false);

    // Panel2's controls before Panel1's; disabled ones are skipped as the focus moves.
    QWidget* const tabOrder[] = {configBox(ConfigBox::server),
                                 configBox(ConfigBox::client),
                                 configBox(ConfigBox::mask),
                                 configBox(ConfigBox::text1),
                                 configBox(ConfigBox::text2),
                                 configBox(ConfigBox::displayTime),
                                 configBox(ConfigBox::text3),
                                 configBox(ConfigBox::text4),
                                 ListBConec,
                                 bSair,
                                 bMinimizar,
                                 bConfigur,
                                 bSalvar,
                                 checkTabela};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    setConfigEditing(false);
    fitCaptions(*this);
    for (ConfigBox box : {ConfigBox::server, ConfigBox::client, ConfigBox::mask})
        fitText(*configBox(box), "255.255.255.255");

    new KeyPreview(*this, [this](const QKeyEvent& key) { return FormKeyDown(key.key()); });

    RxTrayIcon1 = new QSystemTrayIcon(windowIcon(), this);
    RxTrayIcon1->setObjectName("RxTrayIcon1");
    RxTrayIcon1->setToolTip("Precivox");
    connect(RxTrayIcon1, &QSystemTrayIcon::activated, this, [this] { RxTrayIcon1Click(); });
    RxTrayIcon1->show();
}

LeitorProdutosWindow::~LeitorProdutosWindow() = default;

bool LeitorProdutosWindow::defaultTrayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

QLineEdit* LeitorProdutosWindow::addConfigBox(const char* name, const char* labelName,
                                              const QString& caption, int left, int top,
                                              int width) {
    auto* label = placed(new QLabel(caption, Panel2), labelName, left, top, width, kLabelHeight);
    auto* box = placed(new QLineEdit("192.168.0.1", Panel2), name, left, top + 13, width, 21);
    label->setBuddy(box);
    return box;
}

void LeitorProdutosWindow::setHandlers(Handlers handlers, Prompter& errors) {
    handlers_ = std::move(handlers);
    errors_ = &errors;
}

void LeitorProdutosWindow::handle(const std::function<void()>& handler) {
    if (handler && errors_)
        runReported(*errors_, handler);
}

bool LeitorProdutosWindow::FormKeyDown(int key) {
    switch (key) {
    case Qt::Key_Escape:
        // Whatever is being edited is dropped without a question.
        close();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        focusNextPrevChild(true);
        return true;
    default:
        return false;
    }
}

void LeitorProdutosWindow::showTerminals(const std::vector<std::string>& lines, int highlighted) {
    const QSignalBlocker refreshIsNoClick(ListBConec);
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
    // A text wider than its box shows from its beginning.
    configBox(box)->setCursorPosition(0);
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

bool LeitorProdutosWindow::tableBoxTicked() const {
    return checkTabela->isChecked();
}

void LeitorProdutosWindow::untickTableBox() {
    checkTabela->setChecked(false);
}

void LeitorProdutosWindow::showChosenTable(const std::string& description) {
    const QString text = QString::fromStdString(description);
    Label1->setEnabled(true);
    // The label keeps its designed width: a long description ends in "…", whole in the tip.
    lblTabela->setText(lblTabela->fontMetrics().elidedText(text, Qt::ElideRight,
                                                           lblTabela->contentsRect().width()));
    lblTabela->setToolTip(text);
    lblTabela->setEnabled(true);
}

void LeitorProdutosWindow::showNoTable() {
    Label1->setEnabled(false);
    lblTabela->clear();
    lblTabela->setToolTip({});
    lblTabela->setEnabled(false);
}

void LeitorProdutosWindow::bMinimizarClick() {
    // Without a notification area a hidden window could never be brought back, so there
    // it is minimised instead.
    if (trayAvailable_())
        hide();
    else
        showMinimized();
    RxTrayIcon1->show();
}

void LeitorProdutosWindow::RxTrayIcon1Click() {
    if (isVisible())
        return;
    show();
    raise();
    activateWindow();
    RxTrayIcon1->hide();
}

void LeitorProdutosWindow::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        RxTrayIcon1->hide();
        handle(handlers_.FormClose);
    }
    event->accept();
}

} // namespace precivox
