#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace precivox {

// How a column's values are read: the server sends every value as text.
enum class ColumnKind { integer, real, decimal, dateTime, text };

struct Column {
    std::string name;
    ColumnKind kind = ColumnKind::text;
};

// A whole result in memory: column names and kinds, and rows of nullable raw values.
class ResultSet {
public:
    using Cell = std::optional<std::string>;

    ResultSet() = default;
    // cells holds the rows one after the other, columns.size() cells each.
    ResultSet(std::vector<Column> columns, std::vector<Cell> cells);

    size_t columnCount() const { return columns_.size(); }
    size_t rowCount() const { return columns_.empty() ? 0 : cells_.size() / columns_.size(); }
    const Column& column(size_t index) const { return columns_.at(index); }
    // The first column of that name, ignoring case.
    std::optional<size_t> columnIndex(std::string_view name) const;
    const Cell& cell(size_t row, size_t column) const {
        return cells_.at(row * columns_.size() + column);
    }

private:
    std::vector<Column> columns_;
    std::vector<Cell> cells_;
};

} // namespace precivox
