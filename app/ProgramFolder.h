#pragma once

#include <string>

namespace precivox {

// The folder of the running program file with its trailing "/", whatever the current
// directory. Raises Error when the running program cannot be located.
std::string programFolder();

} // namespace precivox
