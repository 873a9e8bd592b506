#include "ProgramUsage.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace precivox::capacity {

ProgramUsage readProgramUsage(pid_t pid) {
    const std::string process = "/proc/" + std::to_string(pid);
    std::ifstream stat(process + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        throw std::runtime_error("process " + std::to_string(pid) + " is gone");
    // The command name in parentheses may hold blanks: the fields count from after it.
    // The state is field 3; utime and stime are fields 14 and 15, in clock ticks.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int number = 3; number < 14; ++number)
        fields >> field;
    unsigned long long userTicks = 0, systemTicks = 0;
    fields >> userTicks >> systemTicks;
    ProgramUsage usage;
    usage.cpuSeconds =
        static_cast<double>(userTicks + systemTicks) / static_cast<double>(sysconf(_SC_CLK_TCK));

    std::ifstream status(process + "/status");
    while (std::getline(status, line)) {
        std::istringstream entry(line);
        std::string name;
        long kib = 0;
        entry >> name >> kib;
        if (name == "VmRSS:")
            usage.residentKib = kib;
        else if (name == "VmHWM:")
            usage.peakKib = kib;
    }
    return usage;
}

} // namespace precivox::capacity
