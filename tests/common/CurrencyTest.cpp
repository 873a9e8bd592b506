#include "Currency.h"

#include "Errors.h"

#include <gtest/gtest.h>
#include <limits>

namespace precivox {
namespace {

TEST(Currency, NearestIntegerTakesHalvesToEven) {
    const struct {
        long double x;
        int64_t expected;
    } cases[] = {
        {0.5L, 0},   {1.5L, 2},    {2.5L, 2},    {-0.5L, 0},     {-1.5L, -2},
        {-2.5L, -2}, {2.4999L, 2}, {2.5001L, 3}, {-2.5001L, -3}, {7.0L, 7},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nearestInteger(c.x), c.expected) << "x " << static_cast<double>(c.x);
}

TEST(Currency, NeverConvertsAnInfinityOrNaN) {
    EXPECT_THROW(nearestInteger(std::numeric_limits<long double>::infinity()), ArithmeticError);
    EXPECT_THROW(nearestInteger(-std::numeric_limits<long double>::infinity()), ArithmeticError);
    EXPECT_THROW(nearestInteger(std::numeric_limits<long double>::quiet_NaN()), ArithmeticError);
    EXPECT_THROW(nearestInteger(1e30L), ArithmeticError);
}

TEST(Currency, ReadsDecimalTextExactly) {
    const struct {
        const char* text;
        int64_t count;
    } cases[] = {
        {"0", 0},
        {"12.3456", 123456},
        {"-12.3456", -123456},
        {"22.5", 225000},
        {"0.00005", 0},
        {"0.00015", 2},
        {"0.000051", 1},
        {"1.", 10000},
        {".5", 5000},
        {"+3", 30000},
        {"922337203685477.5807", INT64_MAX},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Currency::fromDecimalText(c.text).count, c.count) << c.text;
    for (const char* bad : {"", "-", "abc", "1.2.3", "1e5", "922337203685477.5808"})
        EXPECT_THROW(Currency::fromDecimalText(bad), ConversionError) << bad;
}

} // namespace
} // namespace precivox
