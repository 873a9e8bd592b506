#pragma once

#include "Connection.h"
#include "Variant.h"

#include <string>

namespace precivox {

// The value written as an SQL literal for that connection: NULL, a plain decimal number
// (in parentheses when negative, so that no sign can join a neighbouring minus into a
// comment), a text escaped in double quotes, a date-time in double quotes. Raises
// ConversionError for a real that is not finite.
std::string sqlLiteral(Connection& connection, const Variant& value);

} // namespace precivox
