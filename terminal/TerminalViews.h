#pragma once

#include <string>
#include <vector>

namespace precivox {

// The eight configuration edit boxes, in the record's field order.
enum class ConfigBox { server, client, mask, text1, text2, text3, text4, displayTime };

// What the terminal service shows in the window. Texts are UTF-8; the window, headless
// mode and tests each implement it.
class TerminalPanel {
public:
    virtual ~TerminalPanel() = default;

    // Replaces the list of connected terminals; `highlighted` is a line index or -1.
    virtual void showTerminals(const std::vector<std::string>& lines, int highlighted) = 0;
    // The line the operator selected, or -1.
    virtual int selectedTerminalLine() const = 0;

    virtual std::string configText(ConfigBox box) const = 0;
    virtual void setConfigText(ConfigBox box, const std::string& text) = 0;
    // Editing: boxes enabled and white, "Salvar Configuração" on, "Configuração" off;
    // viewing: the reverse, boxes light grey.
    virtual void setConfigEditing(bool editing) = 0;
};

} // namespace precivox
