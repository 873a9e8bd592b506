#pragma once

#include "LoadOptions.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace precivox::capacity {

// What the terminals saw over the measured span: from the moment the last of them was
// welcomed to the end of the duration.
struct LoadResult {
    double connectSeconds = 0; // first connect to the last WELCOME
    double spanSeconds = 0;

    std::size_t keepAlives = 0;       // ALIVE lines received within the span, over all terminals
    std::size_t fewestKeepAlives = 0; // by one terminal
    std::size_t mostKeepAlives = 0;
    double longestSilenceSeconds = 0; // the longest a terminal went without a keep-alive
    int silentTerminals = 0;          // terminals that went more than 2 s without one
    // Per tick of the program, from the first terminal's keep-alive to the last one's.
    std::vector<double> keepAliveSpreadsMs;

    int scansSent = 0;
    std::vector<double> answerMs; // SCAN sent to PRICE or NOTFOUND received
    std::string firstAnswer;
    int unlikeAnswers = 0; // answers that differ from the first
    int strayAnswers = 0;  // answers that came with no scan waiting

    int errorLines = 0;
    std::string firstErrorLine;
    int closedByServer = 0; // connections the program ended within the span
};

struct SpanHooks {
    std::function<void()> started;
    std::function<void()> ended;
};

// Connects the terminals, registers them, then keeps them reading for the duration while
// the first one scans: after each answer it pauses a random 0 to 1 s and scans again, so
// that the scans fall at every point of the program's polling tick. Raises
// std::runtime_error when the terminals cannot all connect and register.
LoadResult runTerminalLoad(const LoadOptions& options, const SpanHooks& hooks);

} // namespace precivox::capacity
