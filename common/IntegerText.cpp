#include "IntegerText.h"

#include "Errors.h"

#include <string>

namespace precivox {

namespace {

int digitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

} // namespace

std::optional<int32_t> parseInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;
    uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        int digit = digitValue(text[i], base);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > 0xFFFFFFFFull)
            return std::nullopt;
    }
    int64_t value;
    if (base == 16) {
        value = static_cast<int32_t>(static_cast<uint32_t>(magnitude));
    } else {
        if (magnitude > (negative ? 2147483648ull : 2147483647ull))
            return std::nullopt;
        value = static_cast<int64_t>(magnitude);
    }
    if (negative)
        value = -value;
    return static_cast<int32_t>(value);
}

int32_t StrToInt(std::string_view text) {
    if (auto value = parseInteger(text))
        return *value;
    throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
}

int32_t StrToIntDef(std::string_view text, int32_t fallback) {
    return parseInteger(text).value_or(fallback);
}

} // namespace precivox
