#include "ValueText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace precivox {

namespace {

template <typename Number> std::optional<Number> parseEntire(std::string_view text) {
    // from_chars rejects a leading '+', which the server never writes but a caller may.
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    Number value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Reads exactly `count` digits at `at`.
std::optional<int> digits(std::string_view text, size_t at, size_t count) {
    if (at + count > text.size())
        return std::nullopt;
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

std::optional<int64_t> parseInt64(std::string_view text) {
    return parseEntire<int64_t>(text);
}

std::optional<double> parseDouble(std::string_view text) {
    return parseEntire<double>(text);
}

std::optional<long double> parseLongDouble(std::string_view text) {
    return parseEntire<long double>(text);
}

std::optional<DateTime> parseDateTime(std::string_view text) {
    DateTime value;
    auto year = digits(text, 0, 4), month = digits(text, 5, 2), day = digits(text, 8, 2);
    if (!year || !month || !day || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    value.year = *year;
    value.month = *month;
    value.day = *day;
    if (text.size() == 10)
        return value;
    auto hour = digits(text, 11, 2), minute = digits(text, 14, 2), second = digits(text, 17, 2);
    if (!hour || !minute || !second || text[10] != ' ' || text[13] != ':' || text[16] != ':')
        return std::nullopt;
    value.hour = *hour;
    value.minute = *minute;
    value.second = *second;
    if (text.size() == 19)
        return value;
    size_t fraction = text.size() - 20;
    auto micro = digits(text, 20, fraction);
    if (text[19] != '.' || fraction == 0 || fraction > 6 || !micro)
        return std::nullopt;
    value.microsecond = *micro;
    for (size_t i = fraction; i < 6; ++i)
        value.microsecond *= 10;
    return value;
}

std::string formatDouble(double value) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

std::string formatCurrency(Currency value) {
    // The magnitude of INT64_MIN does not fit int64_t; take it unsigned.
    uint64_t magnitude = value.count < 0 ? 0 - static_cast<uint64_t>(value.count)
                                         : static_cast<uint64_t>(value.count);
    std::string text = value.count < 0 ? "-" : "";
    text += std::to_string(magnitude / Currency::kScale);
    auto fraction = magnitude % Currency::kScale;
    if (fraction != 0) {
        char decimals[8];
        std::snprintf(decimals, sizeof decimals, ".%04u", static_cast<unsigned>(fraction));
        std::string_view trimmed(decimals);
        text += trimmed.substr(0, trimmed.find_last_not_of('0') + 1);
    }
    return text;
}

std::string formatDateTime(const DateTime& value) {
    std::string text = value.toString();
    if (value.microsecond != 0) {
        char fraction[16];
        std::snprintf(fraction, sizeof fraction, ".%06d", value.microsecond);
        text += fraction;
    }
    return text;
}

} // namespace precivox
