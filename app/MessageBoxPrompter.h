#pragma once

#include "Prompter.h"

#include <iostream>
#include <string>
#include <vector>

class QWidget;

namespace precivox {

// Modal message boxes with one OK button, over the main window.
//
// Ticks go on under an open box, so while the database is down every scan would stack
// another copy of the same error box on the operator. A box identical to one still on
// screen (caption, text and icon) is therefore not shown again but written to the log.
class MessageBoxPrompter : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* owner = nullptr, std::ostream& log = std::cerr)
        : owner_(owner), log_(log) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    void showMessage(const std::string& caption, const std::string& text,
                     MessageIcon icon) override;

private:
    struct Box {
        std::string caption, text;
        MessageIcon icon;
        bool operator==(const Box&) const = default;
    };

    QWidget* owner_;
    std::ostream& log_;
    std::vector<Box> onScreen_;
};

} // namespace precivox
