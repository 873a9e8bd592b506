// The integer text of the display time box and the settings file against a plain reading
// of the same grammar: blanks, an optional sign, then decimal digits that fit 32 signed
// bits, or up to 32 bits of hexadecimal after "$" or "0x", taken as signed.
#include "Errors.h"
#include "FuzzCheck.h"
#include "IntegerText.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using namespace precivox;

namespace {

std::optional<int32_t> plainReading(std::string_view text) {
    while (text.starts_with(' '))
        text.remove_prefix(1);
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+'))
        text.remove_prefix(1);
    int base = 10;
    if (text.starts_with('$')) {
        text.remove_prefix(1);
        base = 16;
    } else if (text.size() > 2 && (text.starts_with("0x") || text.starts_with("0X"))) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty())
        return std::nullopt;
    int64_t magnitude = 0;
    for (char c : text) {
        int digit = 16;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit >= base)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > UINT32_MAX)
            return std::nullopt;
    }
    if (base == 16) {
        const auto bits = static_cast<uint32_t>(negative ? 0u - magnitude : magnitude);
        return static_cast<int32_t>(bits);
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto expected = plainReading(text);
    FUZZ_CHECK(parseInteger(text) == expected);
    try {
        FUZZ_CHECK(StrToInt(text) == expected);
    } catch (const ConversionError& error) {
        FUZZ_CHECK(!expected);
        // what() is a C string: a text with a zero byte shows up to it.
        const std::string message = "'" + std::string(text) + "' is not a valid integer value";
        FUZZ_CHECK(error.what() == message.substr(0, message.find('\0')));
    }
    FUZZ_CHECK(StrToIntDef(text, 77) == expected.value_or(77));
    return 0;
}
