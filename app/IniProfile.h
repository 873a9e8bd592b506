#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace precivox {

// One value of an INI file, read the way the settings file has always been read:
// "[section]" headers and "key=value" lines, names matched without regard to ASCII case,
// the value trimmed of blanks and tabs and freed of one pair of matching quotes (double
// or single) around all of it, then cut to 2047 characters. The first occurrence of the
// key under a header of that name wins. A missing file, section or key gives the
// fallback; a key with an empty value gives the empty text. The file is opened and read
// anew on every call; lines that fit no rule are skipped.
std::string readProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view fallback);

// The value as integer text (decimal with sign, "$" or "0x" hexadecimal); the fallback
// when it is missing, empty, not a complete number or beyond 32 bits.
int32_t readProfileInteger(const std::filesystem::path& file, std::string_view section,
                           std::string_view key, int32_t fallback);

} // namespace precivox
