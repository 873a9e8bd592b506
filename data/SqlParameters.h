#pragma once

#include "Variant.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace precivox {

struct SqlParameter {
    std::string name;
    Variant value;
};

using SqlParameters = std::vector<SqlParameter>;

// The ":name" parameters of a statement, null, in order of first appearance; a name
// that comes again (in any case) is the same parameter. Not parameters: a colon inside
// a quoted literal, a back-quoted name or a comment, "::" and ":=".
SqlParameters parseParameters(std::string_view sql);

// The statement with every parameter replaced by literal(its value); the rest of the
// text is kept byte for byte. Raises DatabaseError for a parameter without a value in
// parameters (matched by name, ignoring case).
std::string expandParameters(std::string_view sql, const SqlParameters& parameters,
                             const std::function<std::string(const Variant&)>& literal);

} // namespace precivox
