#include "Query.h"

#include "SqlLiteral.h"

#include <utility>

namespace precivox {

void Query::setSql(std::string text) {
    sql_ = std::move(text);
    statementChanged();
}

void Query::clearSql() {
    sql_.clear();
    statementChanged();
}

void Query::addSql(std::string_view line) {
    sql_ += line;
    sql_ += "\r\n";
    statementChanged();
}

SqlParameters& Query::params() {
    return const_cast<SqlParameters&>(std::as_const(*this).params());
}

const SqlParameters& Query::params() const {
    if (!paramsCurrent_) {
        params_ = parseParameters(sql_);
        paramsCurrent_ = true;
    }
    return params_;
}

void Query::open() {
    close();
    auto literal = [this](const Variant& value) { return sqlLiteral(connection_, value); };
    setRows(connection_.execute(expandParameters(sql_, params(), literal)));
}

void Query::statementChanged() {
    close();
    paramsCurrent_ = false;
}

} // namespace precivox
