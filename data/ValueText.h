#pragma once

#include "Currency.h"
#include "DateTime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace precivox {

// Values as the server writes them in its text protocol and as statements take them.
// Parsing never depends on the locale.

std::optional<int64_t> parseInt64(std::string_view text);
std::optional<double> parseDouble(std::string_view text);
std::optional<long double> parseLongDouble(std::string_view text);
// "YYYY-MM-DD", optionally followed by " HH:MM:SS" and a fraction of up to six digits.
// The zero date "0000-00-00" is accepted and reads as a DateTime of zeros.
std::optional<DateTime> parseDateTime(std::string_view text);

// Shortest text that reads back as the same double.
std::string formatDouble(double value);
// Plain decimal text, no trailing zeros after the point ("12.5", "10", "-0.0001").
std::string formatCurrency(Currency value);
// "YYYY-MM-DD HH:MM:SS", with ".ffffff" when there are microseconds.
std::string formatDateTime(const DateTime& value);

} // namespace precivox
