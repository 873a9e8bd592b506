#pragma once

#include "TerminalViews.h"

#include <array>
#include <iosfwd>

namespace precivox {

// Headless mode keeps what the window would show, so the handlers behave the same;
// configuration replies are logged, since nobody sees the boxes.
class HeadlessPanel : public TerminalPanel {
public:
    explicit HeadlessPanel(std::ostream& log);

    void showTerminals(const std::vector<std::string>& lines, int highlighted) override;
    int selectedTerminalLine() const override { return -1; }
    std::string configText(ConfigBox box) const override;
    void setConfigText(ConfigBox box, const std::string& text) override;
    void setConfigEditing(bool) override {}

private:
    std::ostream& log_;
    std::vector<std::string> lines_;
    std::array<std::string, 8> texts_;
};

} // namespace precivox
