#include "Protocol.h"

#include <cstring>
#include <gtest/gtest.h>

namespace precivox {
namespace {

std::string repeated(std::size_t count, char c = 'x') {
    return std::string(count, c);
}

struct SplitCase {
    const char* name;
    std::vector<std::string> chunks;
    std::vector<std::string> lines;
    bool withinLimit;
};

TEST(LineSplitter, CutsLinesAndClosesOnOverlongOnes) {
    const SplitCase cases[] = {
        {"one line", {"HELLO 7\n"}, {"HELLO 7"}, true},
        {"line over three chunks", {"SC", "AN 1", "23\n"}, {"SCAN 123"}, true},
        {"two lines and a rest", {"A\nB\nC"}, {"A", "B"}, true},
        {"CR kept for the parser", {"SCAN 1\r\n"}, {"SCAN 1\r"}, true},
        {"empty lines", {"\n\n"}, {"", ""}, true},
        {"1023 bytes", {repeated(1023) + "\n"}, {repeated(1023)}, true},
        {"1023 bytes over chunks", {repeated(1000), repeated(23) + "\n"}, {repeated(1023)}, true},
        {"1024 bytes closes before the LF", {repeated(1024)}, {}, false},
        {"1024 bytes over chunks", {repeated(1000), repeated(24) + "\n"}, {}, false},
        {"CR counts as a byte", {repeated(1023) + "\r\n"}, {}, false},
        {"lines before the long one are kept", {"A\n" + repeated(2000) + "\nB\n"}, {"A"}, false},
        {"nothing after the long one", {repeated(1024), "\nC\n"}, {}, false},
    };
    for (const auto& c : cases) {
        LineSplitter splitter;
        std::vector<std::string> lines;
        bool withinLimit = true;
        for (const auto& chunk : c.chunks)
            withinLimit = splitter.feed(chunk, lines);
        EXPECT_EQ(lines, c.lines) << c.name;
        EXPECT_EQ(withinLimit, c.withinLimit) << c.name;
    }
}

std::string describe(const TerminalLine& line) {
    struct Describe {
        std::string operator()(const HelloLine& l) const {
            return "hello " + std::to_string(l.terminal);
        }
        std::string operator()(const BadHelloLine&) const { return "bad hello"; }
        std::string operator()(const ScanLine& l) const { return "scan [" + l.barcode + "]"; }
        std::string operator()(const ConfigLine&) const { return "config"; }
        std::string operator()(const BadConfigLine&) const { return "bad config"; }
        std::string operator()(const UnknownLine&) const { return "unknown"; }
    };
    return std::visit(Describe{}, line);
}

TEST(TerminalLines, AreRecognisedOrRefused) {
    const struct {
        std::string line;
        std::string meaning;
    } cases[] = {
        {"HELLO 7", "hello 7"},
        {"HELLO 7\r", "hello 7"},
        {"HELLO 2147483647", "hello 2147483647"},
        {"HELLO 007", "hello 7"},
        {"HELLO 0", "bad hello"},
        {"HELLO 2147483648", "bad hello"},
        {"HELLO 99999999999999999999999", "bad hello"},
        {"HELLO -1", "bad hello"},
        {"HELLO +1", "bad hello"},
        {"HELLO 1 ", "bad hello"},
        {"HELLO  1", "bad hello"},
        {"HELLO 0x1A", "bad hello"},
        {"HELLO", "bad hello"},
        {"HELLO ", "bad hello"},
        {"HELLOX 1", "unknown"},
        {"hello 1", "unknown"},
        {"SCAN 7891234567895", "scan [7891234567895]"},
        {"SCAN  12 ", "scan [ 12 ]"},
        {"SCAN 123\r", "scan [123\r]"},
        {"SCAN \r", "scan [\r]"},
        {"SCAN ", "scan []"},
        {"SCAN", "scan []"},
        {"SCAN\r", "scan []"},
        {std::string("SCAN \0\xFF", 7), std::string("scan [\0\xFF]", 9)},
        {"SCANNER 1", "unknown"},
        {"CONFIG", "bad config"},
        {"", "unknown"},
        {"\r", "unknown"},
        {"NOTFOUND", "unknown"},
        {std::string("\0\0", 2), "unknown"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describe(parseTerminalLine(c.line)), c.meaning) << "line [" << c.line << "]";
}

std::string fieldAt(const TConfigTerminal& config, std::size_t offset) {
    const auto* bytes = reinterpret_cast<const char*>(&config);
    return {bytes + offset, kTerminalTextField};
}

std::string padded(std::string text) {
    text.resize(kTerminalTextField, '\0');
    return text;
}

TEST(TerminalLines, ConfigFillsTheRecordLayout) {
    const auto line =
        parseTerminalLine("CONFIG 192.168.0.3\t192.168.0.50\t255.255.255.0\tCONSULTE\t"
                          "ABCDEFGHIJKLMNOPQRSTUVWXYZ\t\tPRE\xC7O\t200\r");
    ASSERT_TRUE(std::holds_alternative<ConfigLine>(line)) << describe(line);
    const auto& config = std::get<ConfigLine>(line).config;
    EXPECT_EQ(config.terminal, 0);
    EXPECT_EQ(fieldAt(config, 4), padded("192.168.0.3"));
    EXPECT_EQ(fieldAt(config, 26), padded("192.168.0.50"));
    EXPECT_EQ(fieldAt(config, 48), padded("255.255.255.0"));
    EXPECT_EQ(fieldAt(config, 70), padded("CONSULTE"));
    EXPECT_EQ(fieldAt(config, 92), padded("ABCDEFGHIJKLMNOPQRSTU")) << "cut to 21 bytes";
    EXPECT_EQ(fieldAt(config, 114), padded(""));
    EXPECT_EQ(fieldAt(config, 136), padded("PRE\xC7O"));
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(&config)[158], 200);
}

TEST(TerminalLines, ConfigNeedsEightFieldsAndATimeByte) {
    const char* refused[] = {
        "CONFIG a\tb\tc\td\te\tf\tg",       // seven fields
        "CONFIG a\tb\tc\td\te\tf\tg\th\t5", // nine fields
        "CONFIG a\tb\tc\td\te\tf\tg\t256",
        "CONFIG a\tb\tc\td\te\tf\tg\t-1",
        "CONFIG a\tb\tc\td\te\tf\tg\t",
        "CONFIG a\tb\tc\td\te\tf\tg\t 5",
        "CONFIG a\tb\tc\td\te\tf\tg\t5\r\r", // only one CR goes
        "CONFIG ",
    };
    for (const char* line : refused)
        EXPECT_TRUE(std::holds_alternative<BadConfigLine>(parseTerminalLine(line)))
            << "line [" << line << "]";
    EXPECT_TRUE(std::holds_alternative<ConfigLine>(parseTerminalLine("CONFIG \t\t\t\t\t\t\t0")));
    EXPECT_TRUE(
        std::holds_alternative<ConfigLine>(parseTerminalLine("CONFIG a\tb\tc\td\te\tf\tg\t255")));
}

TEST(ServerLines, KeepTheFramingWhateverTheTexts) {
    TConfigTerminal config{};
    std::strcpy(config.server, "192.168.0.3");
    std::strcpy(config.client, "A\tB\rC\nD");
    std::memset(config.mask, 'M', sizeof config.mask); // no zero byte in the field
    std::strcpy(config.texts[0], "PRE\xC7O");
    config.displayTime = 255;

    const struct {
        const char* name;
        std::string line;
        std::string wire;
    } cases[] = {
        {"welcome", welcomeLine(2147483647), "WELCOME 2147483647\n"},
        {"price", priceLine("ARROZ TIPO 1 5KG", "22,50"), "PRICE ARROZ TIPO 1 5KG\t22,50\n"},
        {"empty description", priceLine("", "9,50"), "PRICE \t9,50\n"},
        {"price texts with framing bytes", priceLine("A\tB\r\nC", "1\t2"), "PRICE A B  C\t1 2\n"},
        {"not found", notFoundLine(), "NOTFOUND\n"},
        {"alive", aliveLine(), "ALIVE\n"},
        {"get config", getConfigLine(), "GETCONFIG\n"},
        {"set config", setConfigLine(config),
         "SETCONFIG 192.168.0.3\tA B C D\t" + repeated(21, 'M') + "\tPRE\xC7O\t\t\t\t255\n"},
        {"config", configLine(config),
         "CONFIG 192.168.0.3\tA B C D\t" + repeated(21, 'M') + "\tPRE\xC7O\t\t\t\t255\n"},
        {"error", errorLine(kErrorHelloFirst), "ERROR hello first\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.line, c.wire) << c.name;
}

TEST(ServerLines, ConfigLineReadsBackAsTheSameRecord) {
    TConfigTerminal config{};
    std::strcpy(config.server, "10.0.0.1");
    std::strcpy(config.texts[3], "ABCDEFGHIJKLMNOPQRSTU");
    config.displayTime = 9;
    const auto line =
        parseTerminalLine(configLine(config).substr(0, configLine(config).size() - 1));
    ASSERT_TRUE(std::holds_alternative<ConfigLine>(line));
    EXPECT_EQ(std::memcmp(&std::get<ConfigLine>(line).config, &config, sizeof config), 0);
}

TEST(BoundedText, StopsAtTheZeroByteOrTheLimit) {
    const char text[] = {'A', 'B', 'C', '\0', 'D'};
    const char unterminated[] = {'A', 'B', 'C'};
    EXPECT_EQ(boundedText(text, 5), "ABC");
    EXPECT_EQ(boundedText(text, 2), "AB");
    EXPECT_EQ(boundedText(unterminated, 3), "ABC");
    EXPECT_EQ(boundedText(text, 0), "");
    EXPECT_EQ(boundedText(text, -1), "");
    EXPECT_EQ(boundedText(nullptr, 100), "");
}

TEST(ListenAddress, TakesIpv4AndPortOnly) {
    const struct {
        const char* text;
        std::optional<ListenAddress> address;
    } cases[] = {
        {"127.0.0.1:7510", ListenAddress{{127, 0, 0, 1}, 7510}},
        {"0.0.0.0:1", ListenAddress{{0, 0, 0, 0}, 1}},
        {"255.255.255.255:65535", ListenAddress{{255, 255, 255, 255}, 65535}},
        {"192.168.0.3:07510", ListenAddress{{192, 168, 0, 3}, 7510}},
        {"127.0.0.1:0", std::nullopt},
        {"127.0.0.1:65536", std::nullopt},
        {"127.0.0.1:", std::nullopt},
        {"127.0.0.1", std::nullopt},
        {":7510", std::nullopt},
        {"256.0.0.1:7510", std::nullopt},
        {"127.0.0:7510", std::nullopt},
        {"127.0.0.1.1:7510", std::nullopt},
        {"127.0.0.010:7510", std::nullopt},
        {"127.0..1:7510", std::nullopt},
        {"localhost:7510", std::nullopt},
        {"[::1]:7510", std::nullopt},
        {"127.0.0.1:+7510", std::nullopt},
        {"127.0.0.1:7510 ", std::nullopt},
        {" 127.0.0.1:7510", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseListenAddress(c.text), c.address) << "text '" << c.text << "'";
    EXPECT_EQ(formatListenAddress(kDefaultListenAddress), "0.0.0.0:7510");
}

TEST(Ipv4Text, ReadsNetworkByteOrder) {
    const uint8_t bytes[4] = {192, 168, 0, 50};
    uint32_t address;
    std::memcpy(&address, bytes, sizeof address);
    EXPECT_EQ(formatIpv4(address), "192.168.0.50");
    EXPECT_EQ(formatIpv4(0xFFFFFFFFu), "255.255.255.255");
    EXPECT_EQ(formatIpv4(0), "0.0.0.0");
}

} // namespace
} // namespace precivox
