#pragma once

#include <string>

namespace precivox {

// The separators of a number text, as Latin-1 bytes.
struct NumberSeparators {
    std::string decimal = ".";
    std::string thousands = ",";
};

// The separators of the user's regional settings (LC_ALL, LC_NUMERIC, LANG).
NumberSeparators systemNumberSeparators();

// The price as "###,###,##0.00" writes it: two decimals, the whole part grouped by threes,
// a minus sign in front of a negative value. Rounds the value as a person reads it: its
// decimal form at 15 significant digits, halves away from zero (2.675 gives 2.68, where
// the binary value alone would give 2.67). Raises ArithmeticError for a value that is
// not finite.
std::string formatPrice(double value, const NumberSeparators& separators);

} // namespace precivox
