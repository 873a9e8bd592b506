#pragma once

#include "DiscountTables.h"

#include <QAbstractTableModel>
#include <string>
#include <vector>

namespace precivox {

// The dialog's rows as the grid shows them: one column, the description; the mark under
// MarkRole. Until a list has been read the model is closed, like the dialog's query:
// walking or marking it then raises DatabaseError.
class DiscountTableModel : public QAbstractTableModel {
public:
    static constexpr int MarkRole = Qt::UserRole;

    void load(std::vector<DiscountTableRow> rows);
    bool isOpen() const { return open_; }
    // Raises DatabaseError when closed.
    void requireOpen() const;

    const std::vector<DiscountTableRow>& rows() const { return rows_; }
    void setMark(int row, std::string mark);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<DiscountTableRow> rows_;
    bool open_ = false;
};

} // namespace precivox
