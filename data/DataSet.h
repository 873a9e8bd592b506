#pragma once

#include "Field.h"
#include "ResultSet.h"
#include "Variant.h"

#include <optional>
#include <string_view>

namespace precivox {

// Navigation over a whole result held in memory: what queries and client data sets
// share. A closed data set holds no rows: isEmpty() is true and eof() is true, and
// moving or reading a field raises DatabaseError.
class DataSet {
public:
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    bool active() const { return rows_.has_value(); }
    void close();

    bool isEmpty() const { return recordCount() == 0; }
    size_t recordCount() const { return rows_ ? rows_->rowCount() : 0; }

    void first();
    // Past the last row eof() becomes true and the last row stays current.
    void next();
    bool eof() const { return eof_; }

    // Raises DatabaseError for a name that is no column.
    Field fieldByName(std::string_view name) const;
    Field field(size_t index) const;

    // Moves to the first row whose column equals value (see Variant's ==) and returns
    // true; returns false and stays where it was when there is none.
    bool locate(std::string_view column, const Variant& value);

protected:
    DataSet() = default;
    ~DataSet() = default;

    void setRows(ResultSet rows);
    // Hands the rows over and leaves the data set closed.
    ResultSet takeRows();

private:
    const ResultSet& openRows() const;
    size_t columnIndex(std::string_view name) const;

    std::optional<ResultSet> rows_;
    size_t row_ = 0;
    bool eof_ = true;
};

} // namespace precivox
