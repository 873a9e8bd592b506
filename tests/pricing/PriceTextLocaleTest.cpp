#include "PriceText.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace precivox {
namespace {

// The environment is set in main, before QLocale reads it for the first time; Qt carries
// its own locale data, so this holds where only the C locale is compiled.
TEST(PriceTextLocale, BrazilianPortugueseFromTheEnvironment) {
    const NumberSeparators separators = systemNumberSeparators();
    EXPECT_EQ(separators.decimal, ",");
    EXPECT_EQ(separators.thousands, ".");
    EXPECT_EQ(formatPrice(1234567.891, separators), "1.234.567,89");
    EXPECT_EQ(formatPrice(0, separators), "0,00");
}

} // namespace
} // namespace precivox

int main(int argc, char** argv) {
    unsetenv("LC_ALL");
    unsetenv("LC_NUMERIC");
    setenv("LANG", "pt_BR.UTF-8", 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
