// Bytes from a terminal, cut into reads at arbitrary points: the lines handed out and
// what the parser makes of them must not depend on the cuts, never exceed the limit, and
// a configuration line must read back as the record it came from.
#include "FuzzCheck.h"
#include "Protocol.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

using namespace precivox;

namespace {

struct Split {
    std::vector<std::string> lines;
    bool withinLimit = true;
};

Split splitInReads(std::string_view bytes, std::size_t seed) {
    LineSplitter splitter;
    Split split;
    std::size_t cut = seed;
    while (!bytes.empty() && split.withinLimit) {
        cut = cut * 1103515245 + 12345;
        const auto size = std::min(bytes.size(), 1 + (cut >> 8) % 300);
        split.withinLimit = splitter.feed(bytes.substr(0, size), split.lines);
        bytes.remove_prefix(size);
    }
    return split;
}

// As every reader sees a record (each text up to its zero byte, whatever follows it) and
// as it travels (TAB, CR and LF as blanks).
bool sameOnTheWire(const TConfigTerminal& a, const TConfigTerminal& b) {
    const auto texts = [](const TConfigTerminal& c) {
        std::vector<std::string> texts;
        for (const auto* field :
             {&c.server, &c.client, &c.mask, &c.texts[0], &c.texts[1], &c.texts[2], &c.texts[3]}) {
            std::string text(configText(*field));
            std::replace_if(
                text.begin(), text.end(),
                [](char x) { return x == '\t' || x == '\r' || x == '\n'; }, ' ');
            texts.push_back(text);
        }
        return texts;
    };
    return a.terminal == b.terminal && a.displayTime == b.displayTime && texts(a) == texts(b);
}

void checkServerLine(const std::string& line) {
    FUZZ_CHECK(!line.empty() && line.back() == '\n');
    FUZZ_CHECK(line.find('\n') == line.size() - 1);
    FUZZ_CHECK(line.find('\r') == std::string::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const Split whole = splitInReads(bytes, 0);
    const Split cut = splitInReads(bytes, size);
    FUZZ_CHECK(whole.lines == cut.lines);
    FUZZ_CHECK(whole.withinLimit == cut.withinLimit);

    std::string rejoined;
    for (const auto& line : whole.lines) {
        FUZZ_CHECK(line.size() <= kMaxLineLength);
        FUZZ_CHECK(line.find('\n') == std::string::npos);
        rejoined += line;
        rejoined += '\n';
    }
    FUZZ_CHECK(bytes.starts_with(rejoined));

    for (const auto& line : whole.lines) {
        const TerminalLine parsed = parseTerminalLine(line);
        if (const auto* scan = std::get_if<ScanLine>(&parsed)) {
            FUZZ_CHECK(line.starts_with("SCAN"));
            FUZZ_CHECK(line.ends_with(scan->barcode));
        } else if (const auto* config = std::get_if<ConfigLine>(&parsed)) {
            const std::string again = configLine(config->config);
            checkServerLine(again);
            const auto reread = parseTerminalLine(again.substr(0, again.size() - 1));
            const auto* same = std::get_if<ConfigLine>(&reread);
            FUZZ_CHECK(same != nullptr && sameOnTheWire(same->config, config->config));
        } else if (const auto* hello = std::get_if<HelloLine>(&parsed)) {
            FUZZ_CHECK(hello->terminal > 0);
        }
        checkServerLine(priceLine(line, line));
        checkServerLine(errorLine(line));
    }
    return 0;
}
