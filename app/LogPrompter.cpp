#include "LogPrompter.h"

#include <ostream>

namespace precivox {

void LogPrompter::showMessage(const std::string& caption, const std::string& text,
                              MessageIcon icon) {
    const char* kind = icon == MessageIcon::error         ? "error"
                       : icon == MessageIcon::information ? "information"
                                                          : "message";
    std::string oneLine;
    for (char c : text) {
        if (c == '\r')
            continue;
        oneLine += c == '\n' ? std::string(" | ") : std::string(1, c);
    }
    log_ << kind << " box [" << caption << "]: " << oneLine << std::endl;
}

} // namespace precivox
