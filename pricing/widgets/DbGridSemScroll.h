#pragma once

#include <QTableView>

namespace precivox {

// A data grid that never shows a vertical scroll bar: its rows are reached with the
// keyboard. Otherwise a plain grid of records: titles, a row indicator, column lines,
// the current cell selected, no editing.
class TNoVertScrollDBGrid : public QTableView {
public:
    explicit TNoVertScrollDBGrid(QWidget* parent = nullptr);

    // The colour of the titles and the indicator column, and of the titles' text.
    void setFixedColours(const QColor& fixed, const QColor& titleText);
    // Row height follows the font, as the grid's own rows would.
    void fitRowsToFont();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
};

} // namespace precivox
