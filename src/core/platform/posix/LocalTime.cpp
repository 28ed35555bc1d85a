#include <time.h>

#include "platform/Clock.h"

namespace platform {

std::string LocalTimeText(std::time_t time) {
    // localtime_r: the download's worker and the window may both ask at once.
    std::tm local{};
    if (::localtime_r(&time, &local) == nullptr) return std::string();
    char buffer[64];
    const size_t length = std::strftime(buffer, sizeof buffer, "%Y/%m/%d %H:%M:%S", &local);
    return std::string(buffer, length);
}

}  // namespace platform
