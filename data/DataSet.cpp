#include "DataSet.h"

#include "Errors.h"

#include <string>

namespace precivox {

void DataSet::close() {
    rows_.reset();
    row_ = 0;
    eof_ = true;
}

void DataSet::first() {
    openRows();
    row_ = 0;
    eof_ = isEmpty();
}

void DataSet::next() {
    openRows();
    if (row_ + 1 < recordCount())
        ++row_;
    else
        eof_ = true;
}

Field DataSet::fieldByName(std::string_view name) const {
    return Field(openRows(), isEmpty() ? std::nullopt : std::optional(row_), columnIndex(name));
}

Field DataSet::field(size_t index) const {
    const ResultSet& rows = openRows();
    if (index >= rows.columnCount())
        throw DatabaseError("Field index out of range");
    return Field(rows, isEmpty() ? std::nullopt : std::optional(row_), index);
}

bool DataSet::locate(std::string_view column, const Variant& value) {
    const ResultSet& rows = openRows();
    size_t index = columnIndex(column);
    for (size_t row = 0; row < rows.rowCount(); ++row) {
        if (Field(rows, row, index).value() == value) {
            row_ = row;
            eof_ = false;
            return true;
        }
    }
    return false;
}

void DataSet::setRows(ResultSet rows) {
    rows_ = std::move(rows);
    first();
}

ResultSet DataSet::takeRows() {
    openRows();
    ResultSet rows = std::move(*rows_);
    close();
    return rows;
}

const ResultSet& DataSet::openRows() const {
    if (!rows_)
        throw DatabaseError("Cannot perform this operation on a closed dataset");
    return *rows_;
}

size_t DataSet::columnIndex(std::string_view name) const {
    if (auto index = openRows().columnIndex(name))
        return *index;
    throw DatabaseError("Field '" + std::string(name) + "' not found");
}

} // namespace precivox
