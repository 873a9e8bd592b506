#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace precivox {

// Money and percentages: a signed count of ten-thousandths (1.00 is 10000, 5 % is 50000).
struct Currency {
    int64_t count = 0;

    static constexpr int64_t kScale = 10000;

    // The nearest count to a real amount (not a count), halves to even. Raises
    // ArithmeticError for infinity, NaN or an amount beyond the 64-bit range.
    static Currency fromAmount(long double amount);
    // The nearest count to a real count, halves to even, with the same checks.
    static Currency fromCount(long double count);
    // Exact decimal text as the database sends it ("-12.3456"); more than four
    // decimals round to the nearest count, halves to even. Raises ConversionError.
    static Currency fromDecimalText(std::string_view text);

    long double amount() const { return static_cast<long double>(count) / kScale; }

    auto operator<=>(const Currency&) const = default;
};

// The integer nearest to x, halves to even; ArithmeticError where x is not finite
// or does not fit 64 bits.
int64_t nearestInteger(long double x);

} // namespace precivox
