#include "IniProfile.h"

#include "IntegerText.h"

#include <algorithm>
#include <array>
#include <fstream>

namespace precivox {

namespace {

constexpr size_t kValueLimit = 2047;

// '\r' counts as a blank so that CR LF line ends need no rule of their own.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

bool isQuote(char c) {
    return c == '"' || c == '\'';
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A section name, key or value taken one character at a time and trimmed of blanks at
// both ends. Only its first `limit` characters are kept, so no line, however long,
// grows memory; its full trimmed length and last character are still known.
class TrimmedText {
public:
    explicit TrimmedText(size_t limit) : limit_(limit) {}

    void add(char c) {
        if (isBlank(c)) {
            if (length_ == 0)
                return;
            // Blanks inside the text are kept only once a non-blank follows them.
            if (kept_.size() + pendingBlanks_.size() < limit_)
                pendingBlanks_ += c;
            pendingCount_ += 1;
            return;
        }
        kept_ += pendingBlanks_;
        if (kept_.size() < limit_)
            kept_ += c;
        length_ += pendingCount_ + 1;
        pendingBlanks_.clear();
        pendingCount_ = 0;
        last_ = c;
    }

    bool matches(std::string_view name) const {
        return length_ == name.size() &&
               std::equal(kept_.begin(), kept_.end(), name.begin(),
                          [](char a, char b) { return asciiLower(a) == asciiLower(b); });
    }

    std::string value() const {
        if (length_ >= 2 && isQuote(kept_.front()) && last_ == kept_.front())
            return kept_.substr(1, std::min<uint64_t>(length_ - 2, kValueLimit));
        return kept_.substr(0, std::min<uint64_t>(length_, kValueLimit));
    }

    void clear() {
        kept_.clear();
        pendingBlanks_.clear();
        pendingCount_ = 0;
        length_ = 0;
        last_ = 0;
    }

private:
    size_t limit_;
    std::string kept_;
    std::string pendingBlanks_;
    uint64_t pendingCount_ = 0;
    uint64_t length_ = 0;
    char last_ = 0;
};

// Looks for the key while the file streams past, line by line.
class ProfileScan {
public:
    ProfileScan(std::string_view section, std::string_view key)
        : section_(section), key_(key), sectionName_(section.size() + 1), keyName_(key.size() + 1),
          // One more than the limit keeps an opening quote beside a full-length value.
          value_(kValueLimit + 1) {}

    // Returns true once the key has been found.
    bool take(char c) {
        if (c == '\n')
            return endLine();
        switch (part_) {
        case Part::lineStart:
            if (isBlank(c))
                break;
            if (c == '[') {
                part_ = Part::sectionName;
            } else if (!inSection_) {
                part_ = Part::rest;
            } else if (c == '=') {
                part_ = Part::value;
            } else {
                part_ = Part::keyName;
                keyName_.add(c);
            }
            break;
        case Part::sectionName:
            if (c == ']')
                part_ = Part::afterHeader;
            else
                sectionName_.add(c);
            break;
        case Part::keyName:
            if (c == '=')
                part_ = Part::value;
            else
                keyName_.add(c);
            break;
        case Part::value:
            value_.add(c);
            break;
        case Part::afterHeader:
        case Part::rest:
            break;
        }
        return false;
    }

    // A last line without a line end counts as well.
    bool endFile() { return endLine(); }

    std::string value() const { return value_.value(); }

private:
    // `rest` is a line outside the section, which cannot hold the key.
    enum class Part { lineStart, sectionName, afterHeader, keyName, value, rest };

    bool endLine() {
        bool found = false;
        // A header without its closing bracket still names a section.
        if (part_ == Part::sectionName || part_ == Part::afterHeader)
            inSection_ = sectionName_.matches(section_);
        else if (part_ == Part::value)
            found = keyName_.matches(key_);
        part_ = Part::lineStart;
        sectionName_.clear();
        keyName_.clear();
        if (!found)
            value_.clear();
        return found;
    }

    std::string_view section_;
    std::string_view key_;
    TrimmedText sectionName_;
    TrimmedText keyName_;
    TrimmedText value_;
    Part part_ = Part::lineStart;
    bool inSection_ = false;
};

} // namespace

std::string readProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view fallback) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream)
        return std::string(fallback);
    ProfileScan scan(section, key);
    std::array<char, 16384> block;
    bool firstBlock = true;
    while (stream.read(block.data(), block.size()) || stream.gcount() > 0) {
        std::string_view text(block.data(), static_cast<size_t>(stream.gcount()));
        // Editors that save UTF-8 may put a byte order mark before the first header.
        if (firstBlock && text.starts_with("\xEF\xBB\xBF"))
            text.remove_prefix(3);
        firstBlock = false;
        for (char c : text) {
            if (scan.take(c))
                return scan.value();
        }
    }
    if (scan.endFile())
        return scan.value();
    return std::string(fallback);
}

int32_t readProfileInteger(const std::filesystem::path& file, std::string_view section,
                           std::string_view key, int32_t fallback) {
    return StrToIntDef(readProfileString(file, section, key, ""), fallback);
}

} // namespace precivox
