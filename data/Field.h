#pragma once

#include "Currency.h"
#include "DateTime.h"
#include "ResultSet.h"
#include "Variant.h"

#include <cstdint>
#include <optional>
#include <string>

namespace precivox {

// One column of the row that was current when the field was taken; it keeps reading
// that row until the data set closes or opens again. Without a current row (an empty
// result) every value is null.
// A null reads as 0, an empty text or a DateTime of zeros.
class Field {
public:
    Field(const ResultSet& rows, std::optional<size_t> row, size_t column)
        : rows_(&rows), row_(row), column_(column) {}

    const std::string& name() const { return rows_->column(column_).name; }
    ColumnKind kind() const { return rows_->column(column_).kind; }

    bool isNull() const;
    // Raises ConversionError for a value that is no number or beyond 32 bits.
    int32_t asInteger() const;
    int64_t asLargeInt() const;
    double asFloat() const;
    long double asExtended() const;
    // A decimal exactly, a real by the nearest count.
    Currency asCurrency() const;
    // The bytes as the server sent them (Latin-1 texts; numbers and dates as text).
    std::string asString() const;
    DateTime asDateTime() const;
    // Typed by the column: integer, real, currency for a decimal (a decimal beyond a
    // currency's range becomes a real), date-time, or text.
    Variant value() const;

private:
    const std::string* raw() const;

    const ResultSet* rows_;
    std::optional<size_t> row_;
    size_t column_;
};

} // namespace precivox
