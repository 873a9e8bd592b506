// Many terminals kept connected to a running Precivox while one of them scans: counts the
// keep-alives each receives, times the scans' answers and, given the program's pid,
// samples its CPU and memory over the same span. Run by bench/capacity/capacity.sh.
#include "LoadOptions.h"
#include "LoadReport.h"
#include "ProgramUsage.h"
#include "TerminalLoad.h"

#include <exception>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <sys/resource.h>

using namespace precivox::capacity;

namespace {

double ownCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// One descriptor a terminal, and a few of our own.
void raiseDescriptorLimit(int terminals) {
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    const rlim_t wanted = static_cast<rlim_t>(terminals) + 32;
    if (limit.rlim_cur >= wanted)
        return;
    if (limit.rlim_max < wanted)
        throw std::runtime_error("the open-files limit is " + std::to_string(limit.rlim_max) +
                                 "; " + std::to_string(wanted) + " are needed (ulimit -n)");
    limit.rlim_cur = wanted;
    ::setrlimit(RLIMIT_NOFILE, &limit);
}

} // namespace

int main(int argc, char** argv) {
    LoadOptions options;
    try {
        options = parseLoadOptions(argc, argv);
    } catch (const std::invalid_argument& error) {
        std::cerr << "terminal_load: " << error.what() << '\n' << kLoadUsage;
        return 2;
    }
    try {
        raiseDescriptorLimit(options.terminals);
        std::optional<ProgramSpan> program;
        double ownCpuAtStart = 0, ownCpu = 0;
        const SpanHooks hooks{
            [&] {
                if (options.programPid)
                    program = ProgramSpan{readProgramUsage(options.programPid), {}};
                ownCpuAtStart = ownCpuSeconds();
            },
            [&] {
                ownCpu = ownCpuSeconds() - ownCpuAtStart;
                if (program)
                    program->atEnd = readProgramUsage(options.programPid);
            }};
        const LoadResult result = runTerminalLoad(options, hooks);
        const LoadFigures figures{options, result, program, ownCpu};
        printReport(std::cout, figures);
        if (!options.summaryFile.empty())
            writeSummary(options.summaryFile, figures);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "terminal_load: " << error.what() << '\n';
        return 1;
    }
}
