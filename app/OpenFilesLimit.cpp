#include "OpenFilesLimit.h"

#include <sys/resource.h>

namespace precivox {

void raiseOpenFilesLimit() {
    constexpr rlim_t kWanted = 4096;
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= kWanted)
        return;
    limit.rlim_cur =
        limit.rlim_max == RLIM_INFINITY || limit.rlim_max > kWanted ? kWanted : limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
}

} // namespace precivox
