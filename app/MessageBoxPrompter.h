#pragma once

#include "Prompter.h"

class QWidget;

namespace precivox {

// Modal message boxes with one OK button, over the main window.
class MessageBoxPrompter : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    void showMessage(const std::string& caption, const std::string& text,
                     MessageIcon icon) override;

private:
    QWidget* owner_;
};

} // namespace precivox
