#pragma once
#include <ctime>
#include <string>

// Where the program's idea of "now" comes from, so that a test can set it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::time_t Now() const = 0;
};

class SystemClock : public Clock {
public:
    std::time_t Now() const override { return std::time(nullptr); }
};

namespace platform {

// `time` in local time as "%Y/%m/%d %H:%M:%S", the form of the last update time.
std::string LocalTimeText(std::time_t time);

}  // namespace platform
