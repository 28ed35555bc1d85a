#include "platform/SystemProxy.h"

#include <cstdlib>
#include <initializer_list>

namespace platform {

namespace {

// The first of the variables that is set, even if empty, as libcurl looks them up.
std::string FirstSet(std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (const char* value = std::getenv(name); value != nullptr) return value;
    return std::string();
}

}  // namespace

SystemProxy SystemHttpProxy() {
    return {FirstSet({"http_proxy", "all_proxy", "ALL_PROXY"}), FirstSet({"no_proxy", "NO_PROXY"})};
}

}  // namespace platform
