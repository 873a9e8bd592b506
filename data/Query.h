#pragma once

#include "Connection.h"
#include "DataSet.h"
#include "SqlParameters.h"

#include <string>
#include <string_view>

namespace precivox {

// A statement on a connection whose whole result is fetched into memory when opened.
// Changing the statement closes the query. ":name" parameters in the statement are
// sent as literals of their values.
class Query : public DataSet {
public:
    explicit Query(Connection& connection) : connection_(connection) {}

    // The statement as one text, sent as it is.
    void setSql(std::string text);
    // The statement as lines: each line is sent followed by CR LF.
    void clearSql();
    void addSql(std::string_view line);
    const std::string& sqlText() const { return sql_; }

    // Listed afresh, all null, whenever the statement changes (when next asked for, so
    // that a statement built line by line is read once).
    SqlParameters& params();
    const SqlParameters& params() const;

    // Closes a previous result, runs the statement (opening the connection when closed)
    // and stands on the first row. Raises DatabaseError and stays closed on failure.
    void open();
    // The rows, for a holder of its own; leaves the query closed.
    ResultSet takeResult() { return takeRows(); }

private:
    void statementChanged();

    Connection& connection_;
    std::string sql_;
    mutable SqlParameters params_;
    mutable bool paramsCurrent_ = true;
};

} // namespace precivox
