#pragma once

#include "Prompter.h"

#include <iosfwd>

namespace precivox {

// Headless mode: every message box becomes one line of the log and nobody is waited for.
class LogPrompter : public Prompter {
public:
    explicit LogPrompter(std::ostream& log) : log_(log) {}

    void showMessage(const std::string& caption, const std::string& text,
                     MessageIcon icon) override;

private:
    std::ostream& log_;
};

} // namespace precivox
