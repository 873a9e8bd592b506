// The password cipher's mode "D" on any text: it either refuses the text with the
// conversion error or gives one character per pair after the first; and any text of
// codes 1 to 254 comes back from mode "D" as mode "E" scrambled it, whatever the seed.
#include "Cipher.h"
#include "Errors.h"
#include "FuzzCheck.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

using namespace precivox;

namespace {

constexpr std::string_view kKey = "QXW";

// A pair is read at 3 always, then at 5, 7, ... while the text is longer than that.
std::size_t charactersOf(std::size_t digits) {
    return digits <= 4 ? 1 : 1 + (digits - 4) / 2;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view source(reinterpret_cast<const char*>(data), size);
    try {
        const std::string text = CifraSenha("D", source, kKey);
        FUZZ_CHECK(size >= 3);
        FUZZ_CHECK(text.size() == charactersOf(size));
    } catch (const ConversionError& error) {
        // The offending pair, or what of it precedes a zero byte: what() is a C string.
        const std::string_view message = error.what();
        FUZZ_CHECK(message.starts_with("'$"));
        FUZZ_CHECK(message.ends_with("' is not a valid integer value") ||
                   (message.size() <= 4 && std::memchr(data, 0, size) != nullptr));
    }

    // An empty password scrambles to the seed alone, which mode "D" refuses.
    if (size < 2 || !std::all_of(source.begin() + 1, source.end(),
                                 [](char c) { return c != '\0' && c != '\xFF'; }))
        return 0;
    const std::string password(source.substr(1));
    const std::string stored = scramblePassword(password, kKey, data[0]);
    FUZZ_CHECK(stored.size() == 2 + 2 * password.size());
    FUZZ_CHECK(CifraSenha("D", stored, kKey) == password);
    return 0;
}
