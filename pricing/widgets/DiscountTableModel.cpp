#include "DiscountTableModel.h"

#include "Errors.h"
#include "Latin1.h"

namespace precivox {

void DiscountTableModel::load(std::vector<DiscountTableRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    open_ = true;
    endResetModel();
}

void DiscountTableModel::requireOpen() const {
    if (!open_)
        throw DatabaseError("Cannot perform this operation on a closed dataset");
}

void DiscountTableModel::setMark(int row, std::string mark) {
    requireOpen();
    rows_.at(static_cast<size_t>(row)).Marca = std::move(mark);
    const QModelIndex cell = index(row, 0);
    emit dataChanged(cell, cell, {MarkRole});
}

int DiscountTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int DiscountTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}

QVariant DiscountTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const DiscountTableRow& row = rows_[static_cast<size_t>(index.row())];
    if (role == Qt::DisplayRole)
        return QString::fromStdString(latin1ToUtf8(row.descricao));
    if (role == MarkRole)
        return QString::fromStdString(row.Marca);
    return {};
}

QVariant DiscountTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole)
        return QStringLiteral("Descrição");
    return {};
}

Qt::ItemFlags DiscountTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace precivox
