#include "Currency.h"

#include "Errors.h"

#include <cfenv>
#include <cmath>
#include <string>

namespace precivox {

int64_t nearestInteger(long double x) {
    // 2^63 is exactly representable; anything at or beyond it cannot be a count.
    constexpr long double limit = 9223372036854775808.0L;
    if (!std::isfinite(x) || x >= limit || x < -limit)
        throw ArithmeticError("Invalid floating point operation");
    // nearbyintl follows the current rounding mode, which is to-nearest-even unless
    // somebody changed it; do not rely on that.
    long double floorValue = std::floor(x);
    long double fraction = x - floorValue;
    long double rounded = floorValue;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(floorValue, 2.0L) != 0.0L))
        rounded = floorValue + 1.0L;
    if (rounded >= limit)
        throw ArithmeticError("Invalid floating point operation");
    return static_cast<int64_t>(rounded);
}

Currency Currency::fromCount(long double count) {
    return Currency{nearestInteger(count)};
}

Currency Currency::fromAmount(long double amount) {
    return fromCount(amount * kScale);
}

Currency Currency::fromDecimalText(std::string_view text) {
    auto fail = [&]() -> Currency {
        throw ConversionError("'" + std::string(text) + "' is not a valid currency value");
    };
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    __int128 units = 0;
    int decimals = 0;
    bool seenPoint = false, seenDigit = false;
    int firstDropped = -1;
    bool droppedNonZeroAfterFirst = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c == '.' && !seenPoint) {
            seenPoint = true;
            continue;
        }
        if (c < '0' || c > '9')
            return fail();
        seenDigit = true;
        if (seenPoint && decimals == 4) {
            if (firstDropped < 0)
                firstDropped = c - '0';
            else if (c != '0')
                droppedNonZeroAfterFirst = true;
            continue;
        }
        units = units * 10 + (c - '0');
        if (units > (static_cast<__int128>(1) << 64))
            return fail();
        if (seenPoint)
            ++decimals;
    }
    if (!seenDigit)
        return fail();
    for (; decimals < 4; ++decimals)
        units *= 10;
    if (firstDropped > 5 || (firstDropped == 5 && (droppedNonZeroAfterFirst || units % 2 != 0)))
        ++units;
    if (negative)
        units = -units;
    if (units > INT64_MAX || units < INT64_MIN)
        return fail();
    return Currency{static_cast<int64_t>(units)};
}

} // namespace precivox
