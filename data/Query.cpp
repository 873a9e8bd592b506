#include "Query.h"

#include "SqlLiteral.h"

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

void Query::open() {
    close();
    auto literal = [this](const Variant& value) { return sqlLiteral(connection_, value); };
    setRows(connection_.execute(expandParameters(sql_, params_, literal)));
}

void Query::statementChanged() {
    close();
    params_ = parseParameters(sql_);
}

} // namespace precivox
