#include "SelecionarTabelaDesconto.h"

#include "CaptionFit.h"
#include "ErrorReporting.h"
#include "Errors.h"
#include "KeyPreview.h"
#include "Prompter.h"
#include "Query.h"
#include "WindowPlacement.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>

namespace precivox {

namespace {

const QColor kOddRowColour(186, 211, 254);    // 16700346
const QColor kSelectedCellColour(0, 0, 128);  // navy
const QColor kMarkedRowColour(255, 174, 174); // 11448063, also the legend's
const QColor kFixedColour(0, 64, 128);        // 8404992

constexpr int kDescricaoColumnWidth = 434;
constexpr int kCellInset = 2;

// NoVertScrollDBGrid1DrawColumnCell: every data cell is filled with its look, then its
// text is drawn as the grid would, a small inset from the left.
class DrawColumnCell : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool marked =
            isMarked(index.data(DiscountTableModel::MarkRole).toString().toStdString());
        const CellLook look = columnCellLook(index.row() + 1, option.state & QStyle::State_Selected,
                                             marked, option.palette);
        painter->save();
        painter->fillRect(option.rect, look.background);
        QFont font = option.font;
        font.setBold(look.bold);
        painter->setFont(font);
        painter->setPen(look.text);
        painter->drawText(option.rect.adjusted(kCellInset, 0, -kCellInset, 0),
                          Qt::AlignLeft | Qt::AlignVCenter, index.data().toString());
        painter->restore();
    }
};

// Suspends the grid's redrawing and holds back the dialog's handlers for one walk.
class WalkGuard {
public:
    WalkGuard(QWidget& grid, bool& walking) : grid_(grid), walking_(walking) {
        walking_ = true;
        grid_.setUpdatesEnabled(false);
    }
    ~WalkGuard() {
        grid_.setUpdatesEnabled(true);
        walking_ = false;
    }
    WalkGuard(const WalkGuard&) = delete;
    WalkGuard& operator=(const WalkGuard&) = delete;

private:
    QWidget& grid_;
    bool& walking_;
};

template <typename Widget>
Widget* placed(Widget* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(name);
    widget->setGeometry(left, top, width, height);
    return widget;
}

QFrame* panel(QWidget* parent, const char* name, int top, int height) {
    auto* frame = placed(new QFrame(parent), name, 0, top, 474, height);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return frame;
}

} // namespace

CellLook columnCellLook(int recordNumber, bool selected, bool marked, const QPalette& palette) {
    CellLook look{recordNumber % 2 == 1 ? kOddRowColour : palette.color(QPalette::Base),
                  palette.color(QPalette::Text), false};
    if (selected)
        look = {kSelectedCellColour, Qt::white, true};
    if (marked)
        look.background = kMarkedRowColour;
    return look;
}

TFSelecionarTabela::TFSelecionarTabela(QWidget* owner, Connection& conexao, Prompter& prompter)
    : QDialog(owner), conexao_(conexao), prompter_(prompter) {
    setObjectName("FSelecionarTabela");
    setWindowTitle("Selecionar Tabela de Desconto");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(474, 304);
    setFont(desktopSansSerif(8));

    auto* top = panel(this, "Panel1", 0, 49);
    auto* title = placed(new QLabel("Tabela de Desconto", top), "Label3", 10, 12, 300, 25);
    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPixelSize(19);
    title->setFont(titleFont);

    NoVertScrollDBGrid1 =
        placed(new TNoVertScrollDBGrid(this), "NoVertScrollDBGrid1", 0, 49, 474, 195);
    NoVertScrollDBGrid1->setModel(&model_);
    NoVertScrollDBGrid1->setItemDelegate(new DrawColumnCell(NoVertScrollDBGrid1));
    NoVertScrollDBGrid1->setFixedColours(kFixedColour, palette().color(QPalette::Base));
    NoVertScrollDBGrid1->fitRowsToFont();
    NoVertScrollDBGrid1->horizontalHeader()->resizeSection(0, kDescricaoColumnWidth);

    auto* bottom = panel(this, "Panel2", 244, 60);
    auto* legend = placed(new QGroupBox("Legenda", bottom), "GroupBox1", 6, 3, 118, 52);
    auto* shape = placed(new QFrame(legend), "Shape1", 10, 24, 20, 14);
    shape->setFrameStyle(QFrame::Box | QFrame::Plain);
    shape->setAutoFillBackground(true);
    QPalette shapePalette = shape->palette();
    shapePalette.setColor(QPalette::Window, kMarkedRowColour);
    shape->setPalette(shapePalette);
    placed(new QLabel("Item Marcado", legend), "Label1", 36, 24, 78, 14);
    placed(new QLabel("F5 - Marca / Desmarca\nF6 - Nenhum ", bottom), "Label2", 132, 14, 118, 30);

    BitBtn1 = placed(
        new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), "&OK (F3)", bottom),
        "BitBtn1", 256, 16, 102, 28);
    BitBtn2 = placed(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                     "&Cancelar (ESC)", bottom),
                     "BitBtn2", 364, 16, 104, 28);
    for (QPushButton* button : {BitBtn1, BitBtn2}) {
        // Enter means nothing here: only OK's own checks may close the dialog with OK.
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(BitBtn1, &QPushButton::clicked, this, [this] { handle([this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { handle([this] { reject(); }); });

    new KeyPreview(*this, [this](const QKeyEvent& key) { return FormKeyDown(key.key()); });
    setTabOrder(NoVertScrollDBGrid1, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    fitCaptions(*this);
    centreOnScreen(*this);
}

TFSelecionarTabela::~TFSelecionarTabela() = default;

void TFSelecionarTabela::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous() || shown_)
        return;
    shown_ = true;
    NoVertScrollDBGrid1->setFocus();
    handle([this] { FormShow(); });
}

void TFSelecionarTabela::closeEvent(QCloseEvent* event) {
    // The close box counts as Cancel, but not in the middle of a walk.
    if (walking_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TFSelecionarTabela::FormShow() {
    Query QTabela(conexao_);
    model_.load(readDiscountTables(QTabela));
    if (model_.rowCount() > 0)
        NoVertScrollDBGrid1->setCurrentIndex(model_.index(0, 0));
}

bool TFSelecionarTabela::FormKeyDown(int key) {
    switch (key) {
    case Qt::Key_F3:
        handle([this] { BitBtn1Click(); });
        return true;
    case Qt::Key_F5:
        handle([this] { toggleMark(); });
        return true;
    case Qt::Key_F6:
        handle([this] { unmarkAll(); });
        return true;
    case Qt::Key_Escape:
        handle([this] { reject(); });
        return true;
    default:
        return false;
    }
}

void TFSelecionarTabela::BitBtn1Click() {
    int marked = 0;
    walkRows([&](int row) {
        if (isMarked(model_.rows()[static_cast<size_t>(row)].Marca))
            ++marked;
    });
    if (marked > 1)
        refuse("Defina apenas uma tabela de desconto.");
    if (marked == 0)
        refuse("Defina uma tabela de desconto.");
    accept();
}

void TFSelecionarTabela::toggleMark() {
    model_.requireOpen();
    const QModelIndex current = NoVertScrollDBGrid1->currentIndex();
    if (!current.isValid())
        return;
    model_.setMark(current.row(),
                   toggledMark(model_.rows()[static_cast<size_t>(current.row())].Marca));
}

void TFSelecionarTabela::unmarkAll() {
    walkRows([this](int row) { model_.setMark(row, "N"); });
}

void TFSelecionarTabela::refuse(const char* text) {
    prompter_.showMessage("Atenção", text, MessageIcon::information);
    NoVertScrollDBGrid1->setFocus();
    throw SilentAbort();
}

void TFSelecionarTabela::walkRows(const std::function<void(int row)>& visit) {
    model_.requireOpen();
    // The walk reads the rows without moving the grid's current row, so nothing needs
    // to be put back. Timer ticks run between the rows; keys and clicks wait for its end.
    WalkGuard guard(*NoVertScrollDBGrid1, walking_);
    for (int row = 0; row < model_.rowCount(); ++row) {
        visit(row);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void TFSelecionarTabela::handle(const std::function<void()>& handler) {
    if (!walking_)
        runReported(prompter_, handler);
}

} // namespace precivox
