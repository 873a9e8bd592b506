#include "CurrencyRounding.h"

#include <gtest/gtest.h>

namespace precivox {
namespace {

Currency counts(int64_t count) {
    return Currency{count};
}

TEST(CurrencyRounding, TakesAmountsToTwoDecimalsHalvesToEven) {
    const struct {
        int64_t count, expected;
    } cases[] = {
        {850, 800},       {950, 1000},      {851, 900},   {849, 800},
        {-850, -800},     {-950, -1000},    {-851, -900}, {123456, 123500},
        {123450, 123400}, {123550, 123600}, {0, 0},       {10000, 10000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Arredondar(counts(c.count)).count, c.expected) << "count " << c.count;
}

TEST(CurrencyRounding, RaisesAndLowersByAPercentage) {
    enum Operation { raise, lower };
    const struct {
        Operation operation;
        int64_t price, percentage, expected;
    } cases[] = {
        {lower, 30000, 125000, 26200},   // 3.00 less 12.5 %: 2.625 goes to 2.62
        {lower, 10000, 125000, 8800},    // 1.00 less 12.5 %: 0.875 goes to 0.88
        {raise, 30000, 125000, 33800},   // 3.00 plus 12.5 %: 3.375 goes to 3.38
        {lower, 100000, 50000, 95000},   // 10.00 less 5 %
        {raise, 100000, 100000, 110000}, // 10.00 plus 10 %
        {lower, 343000, 50000, 325800},  // 34.30 less 5 %: 32.585 goes to 32.58
        {raise, 343000, 50000, 360200},  // 34.30 plus 5 %: 36.015 goes to 36.02
        {lower, -30000, 125000, -26200}, // negative prices mirror positive ones
        {raise, -30000, 125000, -33800}, {lower, 0, 500000, 0},
        {lower, 39900, 30000, 38700}, // 3.99 less 3 %: 3.8703 then 3.87
        {lower, 12345, 0, 12300},     // no percentage still takes two decimals
        {lower, 100000, 1000000, 0},  // 100 % off
    };
    for (const auto& c : cases) {
        Currency result = c.operation == raise
                              ? AcrescentarPercentual(counts(c.price), counts(c.percentage))
                              : DescontarPercentual(counts(c.price), counts(c.percentage));
        EXPECT_EQ(result.count, c.expected)
            << (c.operation == raise ? "raise " : "lower ") << c.price << " by " << c.percentage;
    }
}

} // namespace
} // namespace precivox
