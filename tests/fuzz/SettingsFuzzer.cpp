// The settings reader against a plain reading of the same file, line by line: the first
// line of the input names the section and key ("section<TAB>key"), the rest is the file.
#include "FuzzCheck.h"
#include "IniProfile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>

using namespace precivox;

namespace {

constexpr std::string_view kFallback = "\x01 fallback";
constexpr std::size_t kValueLimit = 2047;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool sameName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

std::string plainReading(std::string_view file, std::string_view section, std::string_view key) {
    if (file.starts_with("\xEF\xBB\xBF"))
        file.remove_prefix(3);
    bool inSection = false;
    while (true) {
        const auto end = file.find('\n');
        const std::string_view line = trimmed(file.substr(0, end));
        if (line.starts_with('[')) {
            inSection = sameName(trimmed(line.substr(1, line.find(']') - 1)), section);
        } else if (inSection && line.find('=') != std::string_view::npos) {
            const auto equals = line.find('=');
            if (sameName(trimmed(line.substr(0, equals)), key)) {
                std::string_view value = trimmed(line.substr(equals + 1));
                if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                    value.back() == value.front())
                    value = value.substr(1, value.size() - 2);
                return std::string(value.substr(0, kValueLimit));
            }
        }
        if (end == std::string_view::npos)
            return std::string(kFallback);
        file.remove_prefix(end + 1);
    }
}

// The reader opens a path; a memory file spares the disk.
struct ScratchFile {
    int descriptor = memfd_create("settings", 0);
    std::filesystem::path path = "/proc/self/fd/" + std::to_string(descriptor);
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto firstLine = input.find('\n');
    const auto tab = input.find('\t');
    if (firstLine == std::string_view::npos || tab > firstLine)
        return 0;
    const auto section = input.substr(0, tab);
    const auto key = input.substr(tab + 1, firstLine - tab - 1);
    const auto file = input.substr(firstLine + 1);

    static const ScratchFile scratch;
    FUZZ_CHECK(ftruncate(scratch.descriptor, 0) == 0);
    FUZZ_CHECK(pwrite(scratch.descriptor, file.data(), file.size(), 0) ==
               static_cast<ssize_t>(file.size()));

    const std::string value = readProfileString(scratch.path, section, key, kFallback);
    FUZZ_CHECK(value == plainReading(file, section, key));
    return 0;
}
