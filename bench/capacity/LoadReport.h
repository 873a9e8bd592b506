#pragma once

#include "LoadOptions.h"
#include "ProgramUsage.h"
#include "TerminalLoad.h"

#include <optional>
#include <ostream>
#include <string>

namespace precivox::capacity {

// The program's usage at the span's start and end, when it was sampled.
struct ProgramSpan {
    ProgramUsage atStart;
    ProgramUsage atEnd;
};

struct LoadFigures {
    const LoadOptions& options;
    const LoadResult& result;
    std::optional<ProgramSpan> program;
    double ownCpuSeconds = 0; // the load generator's own, over the span
};

// For a person: what the terminals saw and what the program used.
void printReport(std::ostream& out, const LoadFigures& figures);

// For a script: one NAME=VALUE a line, numbers only.
void writeSummary(const std::string& path, const LoadFigures& figures);

} // namespace precivox::capacity
