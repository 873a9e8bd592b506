#include "PriceText.h"

#include "Errors.h"

#include <gtest/gtest.h>
#include <limits>

namespace precivox {
namespace {

TEST(PriceText, FormatsWithTheGivenSeparators) {
    const NumberSeparators brazil{",", "."}, plain{".", ","}, swiss{".", "'"};
    const struct {
        double value;
        const NumberSeparators& separators;
        const char* expected;
    } cases[] = {
        {1234567.891, brazil, "1.234.567,89"},
        {0, brazil, "0,00"},
        {22.5, brazil, "22,50"},
        {0.5, brazil, "0,50"},
        {999.995, brazil, "1.000,00"},
        {100000, brazil, "100.000,00"},
        {2.675, brazil, "2,68"},
        {1.005, brazil, "1,01"},
        {0.125, brazil, "0,13"},
        {0.124999, brazil, "0,12"},
        {0.005, brazil, "0,01"},
        {0.0049, brazil, "0,00"},
        {1e-20, brazil, "0,00"},
        {-2.675, brazil, "-2,68"},
        {-1234.5, brazil, "-1.234,50"},
        {-0.001, brazil, "0,00"},
        {123456789012.345, brazil, "123.456.789.012,35"},
        {1e17, brazil, "100.000.000.000.000.000,00"},
        {1234567.891, plain, "1,234,567.89"},
        {1234.5, swiss, "1'234.50"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatPrice(c.value, c.separators), c.expected) << c.value;
}

TEST(PriceText, RefusesValuesThatAreNoNumber) {
    for (double value :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
        EXPECT_THROW(formatPrice(value, {}), ArithmeticError) << value;
}

} // namespace
} // namespace precivox
