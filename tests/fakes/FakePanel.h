#pragma once

#include "Prompter.h"
#include "TerminalViews.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace precivox::testing {

class FakePanel : public TerminalPanel {
public:
    std::vector<std::string> lines;
    int highlighted = -1;
    int selected = -1;
    bool editing = false;
    std::map<ConfigBox, std::string> texts;

    void showTerminals(const std::vector<std::string>& newLines, int line) override {
        lines = newLines;
        highlighted = line;
    }
    int selectedTerminalLine() const override { return selected; }
    std::string configText(ConfigBox box) const override {
        auto it = texts.find(box);
        return it == texts.end() ? std::string() : it->second;
    }
    void setConfigText(ConfigBox box, const std::string& text) override { texts[box] = text; }
    void setConfigEditing(bool on) override { editing = on; }
};

// Records every box; `onShow` runs while a box is "on screen", as a nested event loop
// would run timer ticks.
class FakePrompter : public Prompter {
public:
    struct Box {
        std::string caption, text;
        MessageIcon icon;
    };
    std::vector<Box> boxes;
    std::function<void()> onShow;

    void showMessage(const std::string& caption, const std::string& text,
                     MessageIcon icon) override {
        boxes.push_back({caption, text, icon});
        if (onShow)
            onShow();
    }
};

} // namespace precivox::testing
