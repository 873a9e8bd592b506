#include "ConfigEditing.h"

#include "Errors.h"
#include "FakePanel.h"
#include "FakeTerminalLibrary.h"

#include <cstring>
#include <gtest/gtest.h>

namespace precivox {
namespace {

using testing::FakePanel;
using testing::FakePrompter;
using testing::FakeTerminalLibrary;

struct ConfigEditingTest : ::testing::Test {
    FakeTerminalLibrary library;
    FakePanel panel;
    FakePrompter prompter;
    TTabConectados table{};
    int32_t FTerminalConfig = -1;
    ConfigEditing editing{library, panel, prompter, table, FTerminalConfig};

    void fillBoxes(const std::string& displayTime) {
        panel.texts = {{ConfigBox::server, "10.0.0.1"},    {ConfigBox::client, "10.0.0.50"},
                       {ConfigBox::mask, "255.255.255.0"}, {ConfigBox::text1, "CONSULTE"},
                       {ConfigBox::text2, "O PREÇO"},      {ConfigBox::text3, ""},
                       {ConfigBox::text4, "AQUI"},         {ConfigBox::displayTime, displayTime}};
    }
    const TConfigTerminal& lastSent() const { return library.sent.back().config; }
};

TEST_F(ConfigEditingTest, WithoutATargetNothingIsAskedNorSent) {
    panel.editing = true;
    EXPECT_THROW(editing.bConfigurClick(), SilentAbort);
    fillBoxes("5");
    editing.bSalvarClick();

    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.boxes[0].text, "Escolha um terminal.");
    EXPECT_EQ(prompter.boxes[1].text, "Selecione um terminal");
    for (const auto& box : prompter.boxes) {
        EXPECT_EQ(box.caption, "Precivox");
        EXPECT_EQ(box.icon, MessageIcon::none);
    }
    EXPECT_TRUE(library.sent.empty());
    EXPECT_TRUE(panel.editing) << "a refused send leaves the boxes as they were";
}

TEST_F(ConfigEditingTest, ALineStandsForTheKthNonEmptySlot) {
    table.terminals[1] = 2;
    table.terminals[2] = 3;
    table.terminals[7] = 40;
    table.count = 3;
    const struct {
        int line;
        int32_t before, expected;
    } cases[] = {{0, -1, 2}, {1, -1, 3}, {2, 3, 40}, {-1, 7, 7}, {3, 7, 7}};
    for (const auto& c : cases) {
        FTerminalConfig = c.before;
        panel.selected = c.line;
        editing.ListBConecClick();
        EXPECT_EQ(FTerminalConfig, c.expected) << "line " << c.line;
    }
    EXPECT_TRUE(library.sent.empty()) << "a click sends nothing";
}

TEST_F(ConfigEditingTest, ConfiguracaoAsksTheTargetAndOpensTheBoxes) {
    FTerminalConfig = 9;
    editing.bConfigurClick();
    EXPECT_EQ(library.sentTo("GETCONFIG"), std::vector<int32_t>{9});
    EXPECT_TRUE(panel.editing);
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(ConfigEditingTest, DisplayTimeTravelsAsItsLowestEightBits) {
    const struct {
        const char* text;
        uint8_t sent;
    } cases[] = {{"300", 44}, {"0x10", 16}, {"$FF", 255}, {"-1", 255},       {"  7", 7},
                 {"+5", 5},   {"256", 0},   {"200", 200}, {"$FFFFFFFF", 255}};
    FTerminalConfig = 4;
    for (const auto& c : cases) {
        panel.editing = true;
        fillBoxes(c.text);
        editing.bSalvarClick();
        ASSERT_EQ(library.sent.size(), 1u) << c.text;
        EXPECT_EQ(library.sent[0].kind, "SETCONFIG") << c.text;
        EXPECT_EQ(lastSent().displayTime, c.sent) << c.text;
        EXPECT_FALSE(panel.editing) << c.text;
        library.sent.clear();
    }
}

TEST_F(ConfigEditingTest, ADisplayTimeThatIsNoIntegerIsRefusedBeforeAnythingIsSent) {
    FTerminalConfig = 4;
    for (const char* text : {"abc", "", "1.5", "12 ", "4294967296", "0x"}) {
        panel.editing = true;
        fillBoxes(text);
        try {
            editing.bSalvarClick();
            ADD_FAILURE() << "'" << text << "' was accepted";
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.what(), "'" + std::string(text) + "' is not a valid integer value");
        }
        EXPECT_TRUE(library.sent.empty()) << text;
        EXPECT_TRUE(panel.editing) << text;
    }
}

TEST_F(ConfigEditingTest, TextsFillTheirFieldsAsLatin1AndNeverPassThem) {
    FTerminalConfig = 0x01020304;
    fillBoxes("1");
    const std::string exact = "ABCDEFGHIJKLMNOPQRSTU"; // 21: the zero byte ends the field
    panel.texts[ConfigBox::text3] = exact;
    panel.texts[ConfigBox::text4] = exact + "VWXYZ";
    editing.bSalvarClick();
    ASSERT_EQ(library.sent.size(), 1u);

    const auto* bytes = reinterpret_cast<const uint8_t*>(&lastSent());
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 4), (std::vector<uint8_t>{4, 3, 2, 1}));
    const struct {
        size_t offset;
        std::string field; // all 22 bytes
    } fields[] = {
        {4, std::string("10.0.0.1") + std::string(14, '\0')},
        {26, std::string("10.0.0.50") + std::string(13, '\0')},
        {48, std::string("255.255.255.0") + std::string(9, '\0')},
        {70, std::string("CONSULTE") + std::string(14, '\0')},
        {92, std::string("O PRE\xC7O") + std::string(15, '\0')},
        {114, exact + '\0'},
        {136, exact + '\0'}, // cut to its field
    };
    for (const auto& f : fields)
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes) + f.offset, 22), f.field)
            << "field at " << f.offset;
    EXPECT_EQ(bytes[158], 1);
}

} // namespace
} // namespace precivox
