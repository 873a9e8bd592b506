#include "Cipher.h"

#include "Errors.h"
#include "IntegerText.h"

#include <random>

namespace precivox {

namespace {

// The key is used cyclically: its first character again after its last.
class KeyCycle {
public:
    explicit KeyCycle(std::string_view key) : key_(key) {}

    int next() {
        position_ = position_ < key_.size() ? position_ + 1 : 1;
        return static_cast<unsigned char>(key_[position_ - 1]);
    }

private:
    std::string_view key_;
    size_t position_ = 0;
};

void requireKey(std::string_view key) {
    if (key.empty())
        throw Error("The password cipher needs a key");
}

// Past the end of the source a pair is empty (or one digit), and the conversion error
// then names it as "$" or "$<digit>".
int pairAt(std::string_view source, size_t index) {
    std::string_view pair = index < source.size() ? source.substr(index, 2) : std::string_view();
    return StrToInt("$" + std::string(pair));
}

void appendHex(std::string& text, int value) {
    constexpr char digits[] = "0123456789ABCDEF";
    text += digits[value >> 4];
    text += digits[value & 0xF];
}

std::string unscramblePassword(std::string_view source, std::string_view key) {
    requireKey(key);
    KeyCycle cycle(key);
    std::string result;
    int previous = pairAt(source, 0);
    size_t index = 2;
    // The second pair is read whatever the length, so a source of two digits fails.
    do {
        int cipher = pairAt(source, index);
        int mixed = cipher ^ cycle.next();
        // Equal values give 255, not 0: this is where 0 and 255 get exchanged.
        result += static_cast<char>(previous < mixed ? mixed - previous : mixed + 255 - previous);
        previous = cipher;
        index += 2;
    } while (source.size() > index + 1);
    return result;
}

uint8_t drawSeed() {
    std::random_device device;
    return static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 255)(device));
}

} // namespace

std::string scramblePassword(std::string_view source, std::string_view key, uint8_t seed) {
    requireKey(key);
    KeyCycle cycle(key);
    std::string result;
    appendHex(result, seed);
    int previous = seed;
    for (unsigned char c : source) {
        int cipher = ((previous + c) % 255) ^ cycle.next();
        appendHex(result, cipher);
        previous = cipher;
    }
    return result;
}

std::string CifraSenha(std::string_view mode, std::string_view source, std::string_view key) {
    if (mode == "E")
        return scramblePassword(source, key, drawSeed());
    if (mode == "D")
        return unscramblePassword(source, key);
    return {};
}

} // namespace precivox
