#include "platform/UserFolders.h"

#include <sys/stat.h>

#include <cstdlib>

#include "platform/Files.h"

namespace platform {

std::string UserDataFolder() {
    // A relative XDG_DATA_HOME is invalid and to be ignored, by the base directory rules.
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') return JoinPath(dataHome, "veradune");
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') return std::string();
    return JoinPath(JoinPath(home, ".local/share"), "veradune");
}

bool CreateUserFolder(const std::string& path) {
    // Owner-only, as the base directory rules ask: the settings hold the proxy password.
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        ::mkdir(path.substr(0, slash).c_str(), 0700);
    ::mkdir(path.c_str(), 0700);
    return IsDirectory(path);
}

}  // namespace platform
