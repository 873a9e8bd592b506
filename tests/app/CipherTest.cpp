#include "Cipher.h"

#include "Errors.h"

#include <gtest/gtest.h>
#include <set>

namespace precivox {
namespace {

struct ScrambleCase {
    std::string source;
    const char* key;
    uint8_t seed;
    const char* expected;
};

TEST(Cipher, ScramblesToKnownDigits) {
    const ScrambleCase cases[] = {
        {"907381kzt", "QXW", 0x7E, "7EE64FD154D451ED30F3"},
        {"segredo", "QXW", 0, "0022DF10D3619253"},
        // A seed of 255 mixes like 0: only its own digits differ.
        {"segredo", "QXW", 255, "FF22DF10D3619253"},
        {"abcdef", "QXW", 200, "C87B85BF7582BF"},
        {"\xE7\xE3o", "QXW", 0x33, "334A76B2"},
        {"A", "K", 0x10, "101A"},
        {"pw", "a much longer key", 5, "0514AB"},
        {"", "QXW", 0xAB, "AB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(scramblePassword(c.source, c.key, c.seed), c.expected) << c.source;
}

struct UnscrambleCase {
    const char* name;
    const char* source;
    const char* key;
    std::string expected;
};

TEST(Cipher, UnscramblesKnownDigits) {
    const UnscrambleCase cases[] = {
        {"password", "7EE64FD154D451ED30F3", "QXW", "907381kzt"},
        {"lower-case digits", "7ee64fd154d451ed30f3", "QXW", "907381kzt"},
        {"settings default",
         "7E90C55B1AD8F3E06B2C",
         "QXW",
         {'\x43', '\x0D', '\x46', '\xEF', '\x66', '\xCB', '\xBD', '\x52', '\x10'}},
        {"key cycles", "C87B85BF7582BF", "QXW", "abcdef"},
        {"key longer than the text", "0514AB", "a much longer key", "pw"},
        {"equal values give 255", "0051", "Q", "\xFF"},
        {"four digits", "101A", "K", "A"},
        {"three digits read as two pairs", "123", "QXW", "@"},
        {"odd digit at the end ignored", "101AF", "K", "A"},
        {"bad odd digit at the end ignored", "101AG", "K", "A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CifraSenha("D", c.source, c.key), c.expected) << c.name;
}

TEST(Cipher, RoundTripKeepsEveryCodeButZeroAnd255) {
    std::string text;
    for (int code = 1; code <= 254; ++code)
        text += static_cast<char>(code);
    const std::string ends{'\0', '\xFF', '\0'};
    const std::string keys[] = {"QXW", "K", "\x01\xFF", "a key longer than some texts", text};
    for (const auto& key : keys) {
        for (int seed = 0; seed <= 255; ++seed) {
            auto scrambled = scramblePassword(text, key, static_cast<uint8_t>(seed));
            ASSERT_EQ(CifraSenha("D", scrambled, key), text) << "key " << key << " seed " << seed;
            auto endsBack = CifraSenha("D", scramblePassword(ends, key, seed), key);
            ASSERT_EQ(endsBack.size(), 3u);
            for (unsigned char code : endsBack)
                EXPECT_TRUE(code == 0 || code == 255) << "key " << key << " seed " << seed;
        }
        EXPECT_EQ(CifraSenha("D", CifraSenha("E", text, key), key), text) << "drawn seed";
    }
}

TEST(Cipher, ScramblesToUpperCaseDigitsWithAFreshSeed) {
    for (size_t length = 0; length <= 5; ++length) {
        auto scrambled = CifraSenha("E", std::string(length, 'x'), "QXW");
        EXPECT_EQ(scrambled.size(), 2 + 2 * length);
        EXPECT_EQ(scrambled.find_first_not_of("0123456789ABCDEF"), std::string::npos) << scrambled;
    }
    std::set<std::string> seeds;
    for (int run = 0; run < 64; ++run)
        seeds.insert(CifraSenha("E", "", "QXW"));
    EXPECT_GT(seeds.size(), 1u) << "64 runs drew the same seed";
}

struct ErrorCase {
    const char* source;
    const char* message;
};

TEST(Cipher, UnreadablePairsRaiseTheConversionError) {
    const ErrorCase cases[] = {
        {"", "'$' is not a valid integer value"},
        {"1", "'$' is not a valid integer value"},
        {"12", "'$' is not a valid integer value"},
        {"G1xx", "'$G1' is not a valid integer value"},
        {"1G", "'$1G' is not a valid integer value"},
        {"12G1", "'$G1' is not a valid integer value"},
        {"12-1", "'$-1' is not a valid integer value"},
        {"1234 5", "'$ 5' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        try {
            CifraSenha("D", c.source, "QXW");
            ADD_FAILURE() << "no error for '" << c.source << "'";
        } catch (const ConversionError& error) {
            EXPECT_STREQ(error.what(), c.message) << c.source;
        }
    }
}

TEST(Cipher, OnlyUpperCaseModesWork) {
    for (const char* mode : {"e", "d", "X", "", "EE", "D "}) {
        EXPECT_EQ(CifraSenha(mode, "7E90C55B1AD8F3E06B2C", "QXW"), "") << "mode '" << mode << "'";
        EXPECT_EQ(CifraSenha(mode, "G1", ""), "") << "mode '" << mode << "'";
    }
}

TEST(Cipher, EmptyKeyIsRefused) {
    EXPECT_THROW(CifraSenha("D", "7E90C55B1AD8F3E06B2C", ""), Error);
    EXPECT_THROW(CifraSenha("E", "abc", ""), Error);
    EXPECT_THROW(scramblePassword("", "", 0), Error);
}

} // namespace
} // namespace precivox
