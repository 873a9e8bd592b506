#pragma once

#include "Currency.h"

namespace precivox {

// The engine's rounding on counts of ten-thousandths, each in extended precision and in
// the order written; every "nearest" takes halves to the even count.

// The amount to two decimals: 0.085 gives 0.08, 0.095 gives 0.10.
Currency Arredondar(Currency amount);
// The price times (1 + percentage / 100), to four and then to two decimals.
Currency AcrescentarPercentual(Currency price, Currency percentage);
// The price times (1 - percentage / 100), to four and then to two decimals.
Currency DescontarPercentual(Currency price, Currency percentage);

} // namespace precivox
