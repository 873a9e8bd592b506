#include "ConfigEditing.h"

#include "ErrorReporting.h"
#include "Errors.h"
#include "IntegerText.h"
#include "Latin1.h"
#include "Prompter.h"

#include <algorithm>
#include <cstring>

namespace precivox {

namespace {

// A text longer than its field is cut to the field's 21 characters, as the terminals
// themselves cut what they are sent; the boxes of the window take no more as typed.
void copyText(char (&field)[kTerminalTextField], const std::string& utf8) {
    const std::string latin1 = utf8ToLatin1(utf8);
    const size_t length = std::min(latin1.size(), sizeof field - 1);
    std::memcpy(field, latin1.data(), length);
    field[length] = '\0';
}

} // namespace

ConfigEditing::ConfigEditing(TerminalLibrary& library, TerminalPanel& panel, Prompter& prompter,
                             const TTabConectados& FTabConectados, int32_t& FTerminalConfig)
    : library_(library), panel_(panel), prompter_(prompter), FTabConectados(FTabConectados),
      FTerminalConfig(FTerminalConfig) {}

void ConfigEditing::ListBConecClick() {
    const int line = panel_.selectedTerminalLine();
    if (line < 0)
        return;
    // The list shows the non-empty slots in slot order, so line k is the k-th of them.
    // The table is a packed record: its numbers are read by index, never by reference.
    int seen = 0;
    for (int slot = 0; slot < kTerminalSlots; ++slot) {
        const int32_t number = FTabConectados.terminals[slot];
        if (number == 0)
            continue;
        if (seen++ == line) {
            FTerminalConfig = number;
            return;
        }
    }
}

void ConfigEditing::bConfigurClick() {
    if (FTerminalConfig < 0) {
        prompter_.showMessage(kApplicationTitle, "Escolha um terminal.", MessageIcon::none);
        throw SilentAbort();
    }
    library_.bPedeConfig(FTerminalConfig);
    panel_.setConfigEditing(true);
}

void ConfigEditing::bSalvarClick() {
    if (FTerminalConfig < 0) {
        prompter_.showMessage(kApplicationTitle, "Selecione um terminal", MessageIcon::none);
        return;
    }
    TConfigTerminal record{};
    record.terminal = FTerminalConfig;
    copyText(record.server, panel_.configText(ConfigBox::server));
    copyText(record.client, panel_.configText(ConfigBox::client));
    copyText(record.mask, panel_.configText(ConfigBox::mask));
    copyText(record.texts[0], panel_.configText(ConfigBox::text1));
    copyText(record.texts[1], panel_.configText(ConfigBox::text2));
    copyText(record.texts[2], panel_.configText(ConfigBox::text3));
    copyText(record.texts[3], panel_.configText(ConfigBox::text4));
    // Only the lowest 8 bits travel: 300 is sent as 44, -1 as 255.
    record.displayTime =
        static_cast<uint8_t>(StrToInt(panel_.configText(ConfigBox::displayTime)) & 0xFF);
    library_.bMandaConfig(&record);
    panel_.setConfigEditing(false);
}

} // namespace precivox
