#pragma once

#include <sys/types.h>

namespace precivox::capacity {

// What the kernel says of a running process.
struct ProgramUsage {
    double cpuSeconds = 0; // user and system time since it started
    long residentKib = 0;  // VmRSS
    long peakKib = 0;      // VmHWM: the most it was ever resident
};

// Raises std::runtime_error when the process is gone.
ProgramUsage readProgramUsage(pid_t pid);

} // namespace precivox::capacity
