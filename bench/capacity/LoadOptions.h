#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <sys/types.h>

namespace precivox::capacity {

// What terminal_load is told on its command line. The terminals always connect to
// 127.0.0.1: a load generator has no business anywhere else.
struct LoadOptions {
    uint16_t port = 7510;
    int terminals = 1;
    int32_t firstNumber = 1; // the terminals are numbered from here; the first one scans
    std::chrono::seconds duration{60};
    std::string barcode = "7891317202644";
    pid_t programPid = 0;    // 0: the program's CPU and memory are not sampled
    std::string summaryFile; // empty: no summary written
};

// Raises std::invalid_argument naming the option at fault.
LoadOptions parseLoadOptions(int argc, char** argv);

inline constexpr const char* kLoadUsage =
    "usage: terminal_load [--port PORT] [--terminals N] [--first-number NUMBER]\n"
    "                     [--seconds SECONDS] [--barcode BARCODE] [--program-pid PID]\n"
    "                     [--summary FILE]\n";

} // namespace precivox::capacity
