#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace precivox {

// The cipher of the stored database password. Texts are bytes (Latin-1): every
// character code from 0 to 255 is a character.
//
// Mode "E" scrambles: two upper-case hexadecimal digits of a random seed, then two per
// source character. Mode "D" unscrambles such digits (either case). Any other mode,
// "e" and "d" included, gives the empty text. Characters 0 and 255 do not survive a
// round trip: either may come back as the other.
//
// Mode "D" raises ConversionError "'$<pair>' is not a valid integer value" for a pair
// that is not hexadecimal, and for a source shorter than three digits ("'$'"). A digit
// left over at the end is ignored, except that a source of three digits is two pairs.
// Modes "E" and "D" raise Error when the key is empty.
std::string CifraSenha(std::string_view mode, std::string_view source, std::string_view key);

// Mode "E" with the seed given instead of drawn, so that its output can be foretold.
std::string scramblePassword(std::string_view source, std::string_view key, uint8_t seed);

} // namespace precivox
