#include "IntegerText.h"

#include "Errors.h"

#include <gtest/gtest.h>

namespace precivox {
namespace {

struct IntegerCase {
    const char* text;
    std::optional<int32_t> value;
};

TEST(IntegerText, ParsesDecimalAndHexadecimalOrRefuses) {
    const IntegerCase cases[] = {
        {"0", 0},
        {"7", 7},
        {"  7", 7},
        {"-1", -1},
        {"+12", 12},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"$1A", 26},
        {"0x1A", 26},
        {"0X1a", 26},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"$100000000", std::nullopt},
        {"", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"7 ", std::nullopt},
        {"abc", std::nullopt},
        {"1.5", std::nullopt},
        {"- 1", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseInteger(c.text), c.value) << "text '" << c.text << "'";
}

TEST(IntegerText, StrToIntNamesTheTextInItsError) {
    EXPECT_EQ(StrToInt("300"), 300);
    try {
        StrToInt("abc");
        FAIL() << "no error";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'abc' is not a valid integer value");
    }
    EXPECT_EQ(StrToIntDef("abc", 5), 5);
}

} // namespace
} // namespace precivox
