#pragma once

#include <compare>
#include <string>

namespace precivox {

// A local calendar date and time of day, as the database's DATE and DATETIME columns
// hold them (no time zone). A DATE reads as its day at 00:00:00.
struct DateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int microsecond = 0;

    auto operator<=>(const DateTime&) const = default;

    // "YYYY-MM-DD HH:MM:SS", for messages and logs.
    std::string toString() const;
};

// Where the current local time comes from, so that tests can set it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
};

class SystemClock : public Clock {
public:
    DateTime now() const override;
};

} // namespace precivox
