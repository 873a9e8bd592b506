#include "DateTime.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace precivox {

std::string DateTime::toString() const {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour,
                  minute, second);
    return text;
}

DateTime SystemClock::now() const {
    auto now = std::chrono::system_clock::now();
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                      now - std::chrono::system_clock::from_time_t(seconds))
                      .count();
    if (micros < 0) {
        --seconds;
        micros += 1000000;
    }
    std::tm local{};
    localtime_r(&seconds, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,           local.tm_hour,
            local.tm_min,         local.tm_sec,     static_cast<int>(micros)};
}

} // namespace precivox
