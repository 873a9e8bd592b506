#pragma once

#include "Prompter.h"

#include <exception>
#include <functional>
#include <string>

namespace precivox {

inline constexpr const char* kApplicationTitle = "Precivox";

// The text of the error box: the message with a full stop added when it has none.
std::string errorBoxText(const std::string& message);

// Shows the error in an error box captioned with the program's title.
void reportError(Prompter& prompter, const std::exception& error);

// Runs a handler at the edge of an event: the silent abort ends it quietly, any other
// error is shown; nothing escapes. Returns true when the handler ran to its end.
bool runReported(Prompter& prompter, const std::function<void()>& handler);

} // namespace precivox
