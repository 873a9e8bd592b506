#include "Variant.h"

#include "Errors.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace precivox {
namespace {

TEST(Variant, ConvertsBetweenNumberKinds) {
    const struct {
        const char* name;
        Variant value;
        int64_t integer;
        long double real;
        int64_t count;
        const char* text;
    } cases[] = {
        {"integer", int64_t{-7}, -7, -7.0L, -70000, "-7"},
        {"real half to even", 2.5, 2, 2.5L, 25000, "2.5"},
        {"real half up to even", 3.5, 4, 3.5L, 35000, "3.5"},
        {"real sum", 0.1 + 0.2, 0, 0.1 + 0.2, 3000, "0.30000000000000004"},
        {"currency half", Currency{-25000}, -2, -2.5L, -25000, "-2.5"},
        {"currency smallest", Currency{-1}, 0, -0.0001L, -1, "-0.0001"},
        {"currency whole", Currency{100000}, 10, 10.0L, 100000, "10"},
        {"decimal text", "42", 42, 42.0L, 420000, "42"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.value.toInt64(), c.integer) << c.name;
        EXPECT_EQ(c.value.toLongDouble(), c.real) << c.name;
        EXPECT_EQ(c.value.toCurrency().count, c.count) << c.name;
        EXPECT_EQ(c.value.toText(), c.text) << c.name;
    }
    EXPECT_EQ(Variant("-12.3456").toCurrency().count, -123456);
    EXPECT_EQ(Variant("2024-02-29 13:45:10.5").toDateTime(),
              (DateTime{2024, 2, 29, 13, 45, 10, 500000}));
    EXPECT_EQ(Variant(DateTime{2024, 2, 29, 13, 45, 10, 5}).toText(), "2024-02-29 13:45:10.000005");
}

TEST(Variant, RaisesWhereTheKindsDoNotMeet) {
    const Variant null;
    EXPECT_THROW(null.toInt64(), ConversionError);
    EXPECT_THROW(null.toLongDouble(), ConversionError);
    EXPECT_THROW(null.toCurrency(), ConversionError);
    EXPECT_THROW(null.toText(), ConversionError);
    EXPECT_THROW(null.toDateTime(), ConversionError);
    for (const char* text : {"abc", "1.5", ""})
        EXPECT_THROW(Variant(text).toInt64(), ConversionError) << text;
    EXPECT_THROW(Variant("1,5").toLongDouble(), ConversionError);
    EXPECT_THROW(Variant("12.3.4").toCurrency(), ConversionError);
    EXPECT_THROW(Variant(DateTime{2024, 1, 1}).toInt64(), ConversionError);
    EXPECT_THROW(Variant(int64_t{3000000000}).toInt32(), ConversionError);
    EXPECT_THROW(Variant(INT64_MAX).toCurrency(), ArithmeticError);
}

TEST(Variant, ComparesNumbersByValueAcrossKinds) {
    const int64_t big = (int64_t{1} << 53) + 1; // the first integer a double cannot hold
    const struct {
        const char* name;
        Variant a, b;
        bool equal;
    } cases[] = {
        {"integer and currency", 3, Currency{30000}, true},
        {"integer and real", 3, 3.0, true},
        {"large integers exactly", big, big - 1, false},
        {"large integer against the nearest real", big, static_cast<double>(big), false},
        {"real and currency at four decimals", 0.1 + 0.2, Currency{3000}, true},
        {"integer beyond any currency", INT64_MAX, Currency{INT64_MAX}, false},
        {"text against number", "3", 3, false},
        {"texts", "\xE9", "\xE9", true},
        {"dates", DateTime{2024, 1, 2}, DateTime{2024, 1, 2}, true},
        {"null against null", Variant(), Variant(), true},
        {"null against zero", Variant(), 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.a == c.b, c.equal) << c.name;
        EXPECT_EQ(c.b == c.a, c.equal) << c.name << " (swapped)";
    }
}

} // namespace
} // namespace precivox
