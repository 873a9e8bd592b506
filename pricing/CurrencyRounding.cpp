#include "CurrencyRounding.h"

namespace precivox {

namespace {

long double counts(Currency value) {
    return static_cast<long double>(value.count);
}

} // namespace

Currency Arredondar(Currency amount) {
    return Currency{100 * nearestInteger(counts(amount) / 100)};
}

Currency AcrescentarPercentual(Currency price, Currency percentage) {
    const long double p = counts(price), a = counts(percentage);
    return Arredondar(Currency::fromCount((p / 100 * a + p * 10000) / 10000));
}

Currency DescontarPercentual(Currency price, Currency percentage) {
    const long double p = counts(price), a = counts(percentage);
    return Arredondar(Currency::fromCount((p * 10000 - p / 100 * a) / 10000));
}

} // namespace precivox
