#include "Simulator.h"
#include "SimulatorOptions.h"

#include <iostream>
#include <stdexcept>
#include <unistd.h>

int main(int argc, char** argv) {
    using namespace precivox;
    SimulatorOptions options;
    try {
        options = parseSimulatorArguments({argv + 1, argv + argc});
    } catch (const std::invalid_argument& error) {
        std::cerr << "precivox-terminal: " << error.what() << "\n\n" << kSimulatorUsage;
        return 2;
    }
    if (options.help) {
        std::cout << kSimulatorUsage;
        return 0;
    }
    return Simulator(std::move(options), std::cout, std::cerr).run(STDIN_FILENO);
}
