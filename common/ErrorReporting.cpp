#include "ErrorReporting.h"

#include "Errors.h"

namespace precivox {

std::string errorBoxText(const std::string& message) {
    if (!message.empty() && message.back() == '.')
        return message;
    return message + ".";
}

void reportError(Prompter& prompter, const std::exception& error) {
    prompter.showMessage(kApplicationTitle, errorBoxText(error.what()), MessageIcon::error);
}

bool runReported(Prompter& prompter, const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const SilentAbort&) {
    } catch (const std::exception& error) {
        reportError(prompter, error);
    }
    return false;
}

} // namespace precivox
