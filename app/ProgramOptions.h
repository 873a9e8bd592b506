#pragma once

#include <optional>
#include <string>
#include <vector>

namespace precivox {

struct ProgramOptions {
    bool headless = false;
    bool help = false;
    bool version = false;
    bool encipherPassword = false;     // read a password on stdin, print the "senha" value
    std::optional<std::string> listen; // ADDRESS:PORT for the terminal server
};

// Raises std::invalid_argument naming the offending argument.
ProgramOptions parseProgramOptions(const std::vector<std::string>& arguments);

std::string usageText();

} // namespace precivox
