#include "SqlParameters.h"

#include "Errors.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace precivox {
namespace {

std::vector<std::string> names(const SqlParameters& parameters) {
    std::vector<std::string> result;
    for (const auto& p : parameters)
        result.push_back(p.name);
    return result;
}

TEST(SqlParameters, ListsNamesInOrderOfFirstAppearance) {
    const struct {
        const char* sql;
        std::vector<std::string> names;
    } cases[] = {
        {"select * from t where a = :b and c = :a or d = :B", {"b", "a"}},
        {"select ':x', \":y\", `:z`, 'it''s :q', \"say \\\" :w\" from t where a = :real", {"real"}},
        {"select 1 -- :c\n, :d # :e\n, /* :f */ :g", {"d", "g"}},
        {"select @v := 1, a::b, :pid", {"pid"}},
        {"select 3--:k", {"k"}},
        {"select ':unclosed", {}},
    };
    for (const auto& c : cases) {
        SqlParameters parameters = parseParameters(c.sql);
        EXPECT_EQ(names(parameters), c.names) << c.sql;
        for (const auto& p : parameters)
            EXPECT_TRUE(p.value.isNull()) << c.sql;
    }
}

TEST(SqlParameters, ReplacesOnlyTheParameters) {
    SqlParameters parameters = parseParameters("select :a, ':a', :A, :b -- :b\n");
    parameters[0].value = 1;
    parameters[1].value = "x";
    auto literal = [](const Variant& v) { return "<" + v.toText() + ">"; };
    EXPECT_EQ(expandParameters("select :a, ':a', :A, :b -- :b\n", parameters, literal),
              "select <1>, ':a', <1>, <x> -- :b\n");
    EXPECT_THROW(expandParameters("select :missing", parameters, literal), DatabaseError);
}

} // namespace
} // namespace precivox
