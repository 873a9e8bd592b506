#pragma once

namespace precivox {

// Start-up in its fixed order, then the message loop until the window (or, headless,
// a termination signal) closes the program. Returns the exit code.
int runPrecivox(int argc, char** argv);

} // namespace precivox
