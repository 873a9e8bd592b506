#pragma once

#include <string>

namespace precivox {

enum class MessageIcon { none, information, error };

// Every message box of the system goes through here, so that the window, headless
// mode and tests each decide how a box is shown. Texts are UTF-8.
class Prompter {
public:
    virtual ~Prompter() = default;
    // Returns once the operator has closed the box (at once where nobody is asked).
    virtual void showMessage(const std::string& caption, const std::string& text,
                             MessageIcon icon) = 0;
};

} // namespace precivox
