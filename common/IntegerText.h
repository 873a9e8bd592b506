#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace precivox {

// Integer text as the settings file and the edit boxes take it: leading blanks, an
// optional sign, then decimal digits or hexadecimal digits after "$" or "0x".
// Hexadecimal takes the full 32 bits ("$FFFFFFFF" is -1); decimal must fit int32.
std::optional<int32_t> parseInteger(std::string_view text);

// Raises ConversionError "'<text>' is not a valid integer value".
int32_t StrToInt(std::string_view text);

int32_t StrToIntDef(std::string_view text, int32_t fallback);

} // namespace precivox
