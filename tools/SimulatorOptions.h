#pragma once

#include "TerminalTypes.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace precivox {

struct SimulatorOptions {
    std::string host = "127.0.0.1";
    uint16_t port = 7510;
    int32_t number = 1;
    TConfigTerminal config{}; // what it answers GETCONFIG with, texts in Latin-1
    std::chrono::seconds timeout{10};
    std::vector<std::string> barcodes; // none: read from standard input
    bool help = false;
};

// Raises std::invalid_argument with a message for the user on a bad command line.
SimulatorOptions parseSimulatorArguments(const std::vector<std::string>& arguments);

extern const char* const kSimulatorUsage;

} // namespace precivox
