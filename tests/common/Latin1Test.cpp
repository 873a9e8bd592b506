#include "Latin1.h"

#include <gtest/gtest.h>

namespace precivox {
namespace {

TEST(Latin1, ConvertsBothWaysAndMarksWhatDoesNotFit) {
    EXPECT_EQ(latin1ToUtf8("A\xE7\xFA"
                           "car"),
              "Aç\xC3\xBA"
              "car");
    EXPECT_EQ(utf8ToLatin1("Açúcar"), "A\xE7\xFA"
                                      "car");
    EXPECT_EQ(utf8ToLatin1("€"), "?");
    EXPECT_EQ(utf8ToLatin1("\xC3"), "?");
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    EXPECT_EQ(utf8ToLatin1(latin1ToUtf8(all)), all);
}

} // namespace
} // namespace precivox
