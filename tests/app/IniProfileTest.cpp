#include "IniProfile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

namespace precivox {
namespace {

using namespace std::string_literals;

struct ProfileCase {
    const char* name;
    std::string content;
    const char* section;
    const char* key;
    std::string expected;
};

TEST(IniProfile, ReadsOneValueByTheProfileRules) {
    const std::string fallback = "<fallback>";
    const ProfileCase cases[] = {
        {"plain", "[ip]\nlocal=host\n", "ip", "local", "host"},
        {"names ignore case", "[IP]\nLocal=host\n", "ip", "LOCAL", "host"},
        {"blanks and tabs trimmed, inner ones kept", "[ip]\n \t local \t= \t host name \t\n", "ip",
         "local", "host name"},
        {"header with blanks and a note after it", "  [ ip ]  ; note\nlocal=host\n", "ip", "local",
         "host"},
        {"double quotes dropped, blanks inside kept", "[ip]\nlocal= \"  a b  \" \n", "ip", "local",
         "  a b  "},
        {"single quotes dropped", "[ip]\nlocal='x'\n", "ip", "local", "x"},
        {"quotes that differ kept", "[ip]\nlocal=\"x'\n", "ip", "local", "\"x'"},
        {"a lone quote kept", "[ip]\nlocal=\"\n", "ip", "local", "\""},
        {"quotes not around the whole value kept", "[ip]\nlocal=\"a\" b\n", "ip", "local",
         "\"a\" b"},
        {"empty quotes are empty", "[ip]\nlocal=\"\"\n", "ip", "local", ""},
        {"empty value is not the fallback", "[ip]\nlocal=\n", "ip", "local", ""},
        {"blank value is empty", "[ip]\nlocal= \t \n", "ip", "local", ""},
        {"equals sign inside the value", "[ip]\nlocal=a=b\n", "ip", "local", "a=b"},
        {"missing key", "[ip]\ndatabase=x\n", "ip", "local", fallback},
        {"missing section", "[other]\nlocal=x\n", "ip", "local", fallback},
        {"key before any section", "local=x\n[ip]\n", "ip", "local", fallback},
        {"key under the next header", "[ip]\n[other]\nlocal=x\n", "ip", "local", fallback},
        {"names are not prefixes", "[ipx]\nlocal=x\n[ip]\nlocalhost=x\nloca=x\nlocal=y\n", "ip",
         "local", "y"},
        {"first of duplicate keys", "[ip]\nlocal=first\nlocal=second\n", "ip", "local", "first"},
        {"a repeated section goes on", "[ip]\ndatabase=x\n[other]\nlocal=no\n[IP]\nlocal=yes\n",
         "ip", "local", "yes"},
        {"garbage lines skipped",
         "garbage\n\x01\xff\0\x7f binary\n=orphan\n]\n[unclosed\nlocal=no\n[ip\nlocal=yes\n"s, "ip",
         "local", "yes"},
        {"comment lines are no keys", "[ip]\n;local=no\n# local=no\n", "ip", "local", fallback},
        {"CR LF line ends", "[ip]\r\nlocal=\"a \"\r\n", "ip", "local", "a "},
        {"no line end after the last line", "[ip]\nlocal=host", "ip", "local", "host"},
        {"byte order mark before the first header", "\xEF\xBB\xBF[ip]\nlocal=host\n", "ip", "local",
         "host"},
        {"Latin-1 bytes kept", "[ip]\nlocal=S\xE3o Paulo\n", "ip", "local", "S\xE3o Paulo"},
        {"value cut to 2047", "[ip]\nlocal=" + std::string(3000, 'a') + "\n", "ip", "local",
         std::string(2047, 'a')},
        {"quotes dropped before the cut", "[ip]\nlocal=\"" + std::string(2047, 'b') + "c\"\n", "ip",
         "local", std::string(2047, 'b')},
        {"inner blanks at the cut kept", "[ip]\nlocal=" + std::string(2046, 'a') + " \t z\n", "ip",
         "local", std::string(2046, 'a') + " "},
        {"trailing blanks beyond the cut dropped",
         "[ip]\nlocal=" + std::string(2040, 'a') + std::string(20, ' ') + "\n", "ip", "local",
         std::string(2040, 'a')},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        auto file = folder.write("settings.ini", c.content);
        EXPECT_EQ(readProfileString(file, c.section, c.key, fallback), c.expected) << c.name;
    }
}

TEST(IniProfile, MissingOrUnreadableFileGivesTheFallback) {
    TempFolder folder;
    EXPECT_EQ(readProfileString(folder.path() / "none.ini", "ip", "local", "x"), "x");
    EXPECT_EQ(readProfileString(folder.path(), "ip", "local", "x"), "x") << "a folder";
    EXPECT_EQ(readProfileInteger(folder.path() / "none.ini", "ip", "n", 4), 4);
}

struct IntegerCase {
    const char* value;
    int32_t expected;
};

TEST(IniProfile, ReadsIntegersOrGivesTheFallback) {
    const IntegerCase cases[] = {
        {"7", 7},          {" 7 ", 7},          {"-12", -12},        {"+5", 5},
        {"$1A", 26},       {"0x1A", 26},        {"\"12\"", 12},      {"2147483647", 2147483647},
        {"$FFFFFFFF", -1}, {"abc", -99},        {"7x", -99},         {"1.5", -99},
        {"", -99},         {"2147483648", -99}, {"$100000000", -99},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        auto file = folder.write("settings.ini", "[s]\nn=" + std::string(c.value) + "\n");
        EXPECT_EQ(readProfileInteger(file, "s", "n", -99), c.expected)
            << "value '" << c.value << "'";
    }
    auto file = folder.write("settings.ini", "[s]\nother=3\n");
    EXPECT_EQ(readProfileInteger(file, "s", "n", -99), -99) << "missing key";
}

TEST(IniProfile, SeesTheFileAsItIsAtEachRead) {
    TempFolder folder;
    auto file = folder.write("settings.ini", "[ip]\nlocal=one\n");
    EXPECT_EQ(readProfileString(file, "ip", "local", "none"), "one");
    writeFile(file, "[ip]\nlocal=two\n");
    EXPECT_EQ(readProfileString(file, "ip", "local", "none"), "two");
    std::filesystem::remove(file);
    EXPECT_EQ(readProfileString(file, "ip", "local", "none"), "none");
}

TEST(IniProfile, ReadsPastHugeLines) {
    std::string content(4 << 20, 'x');
    content[1000] = '[';
    content += "\n[ip]\nlocal=\"" + std::string(3 << 20, 'v') + "\"\ndatabase=d";
    TempFolder folder;
    auto file = folder.write("settings.ini", content);
    EXPECT_EQ(readProfileString(file, "ip", "local", ""), std::string(2047, 'v'));
    EXPECT_EQ(readProfileString(file, "ip", "database", ""), "d");
}

} // namespace
} // namespace precivox
