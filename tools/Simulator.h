#pragma once

#include "SimulatorOptions.h"
#include "TerminalConnection.h"

#include <chrono>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace precivox {

// One simulated terminal's run: register, scan, print the answers. Answers the server's
// GETCONFIG and takes its SETCONFIG at any time.
class Simulator {
public:
    Simulator(SimulatorOptions options, std::ostream& out, std::ostream& err);

    // Barcodes from the options, or one per line of `input` when there are none.
    // Returns the exit status.
    int run(int input);

private:
    enum class Line { Answer, Other };
    using Clock = std::chrono::steady_clock;

    bool registerTerminal();
    bool scan(const std::string& barcode);
    bool scanInput(int input);
    // Waits until an answer line has come and been printed; false when none came in time.
    bool awaitAnswer(std::string_view what);
    bool serveWaitingLines();
    Line handle(const std::string& line);

    SimulatorOptions options_;
    std::ostream& out_;
    std::ostream& err_;
    std::unique_ptr<TerminalConnection> connection_;
    long keepAlives_ = 0;
};

} // namespace precivox
