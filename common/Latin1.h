#pragma once

#include <string>
#include <string_view>

namespace precivox {

// Texts from the database and to the terminals are 8-bit Latin-1; texts shown to the
// operator are UTF-8.
std::string latin1ToUtf8(std::string_view latin1);
// Characters beyond Latin-1, and malformed UTF-8, become '?'.
std::string utf8ToLatin1(std::string_view utf8);

} // namespace precivox
