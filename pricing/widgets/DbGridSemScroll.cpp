#include "DbGridSemScroll.h"

#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>

namespace precivox {

namespace {

constexpr int kIndicatorWidth = 12;

// The indicator column: a small arrow on the current row.
class RowIndicator : public QHeaderView {
public:
    explicit RowIndicator(QTableView& grid) : QHeaderView(Qt::Vertical, &grid), grid_(grid) {
        setFixedWidth(kIndicatorWidth);
        setSectionResizeMode(QHeaderView::Fixed);
        setSectionsClickable(false);
    }

    QColor arrowColour;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        // The base leaves the painter clipped to nothing.
        painter->save();
        QHeaderView::paintSection(painter, rect, logicalIndex);
        painter->restore();
        if (logicalIndex != grid_.currentIndex().row())
            return;
        const QPointF centre = QRectF(rect).center();
        QPainterPath arrow;
        arrow.moveTo(centre.x() - 2, centre.y() - 4);
        arrow.lineTo(centre.x() + 2, centre.y());
        arrow.lineTo(centre.x() - 2, centre.y() + 4);
        arrow.closeSubpath();
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->fillPath(arrow, arrowColour);
        painter->restore();
    }

private:
    QTableView& grid_;
};

} // namespace

TNoVertScrollDBGrid::TNoVertScrollDBGrid(QWidget* parent) : QTableView(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setShowGrid(true);
    setWordWrap(false);
    setVerticalHeader(new RowIndicator(*this));
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
}

void TNoVertScrollDBGrid::setFixedColours(const QColor& fixed, const QColor& titleText) {
    static_cast<RowIndicator*>(verticalHeader())->arrowColour = titleText;
    const QString sheet = QStringLiteral("QHeaderView::section { background-color: %1; color: %2;"
                                         " border: 0px; border-right: 1px solid %2;"
                                         " border-bottom: 1px solid %2; padding-left: 2px; }")
                              .arg(fixed.name(), titleText.name());
    horizontalHeader()->setStyleSheet(sheet);
    verticalHeader()->setStyleSheet(sheet);
    setStyleSheet(QStringLiteral("QTableCornerButton::section { background-color: %1; border: 0px;"
                                 " border-right: 1px solid %2; border-bottom: 1px solid %2; }")
                      .arg(fixed.name(), titleText.name()));
}

void TNoVertScrollDBGrid::fitRowsToFont() {
    const int height = fontMetrics().height() + 4;
    verticalHeader()->setMinimumSectionSize(height);
    verticalHeader()->setDefaultSectionSize(height);
    horizontalHeader()->setFixedHeight(height + 2);
}

void TNoVertScrollDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    verticalHeader()->viewport()->update();
}

} // namespace precivox
