#include "platform/UserFolders.h"

#include <shlobj.h>
#include <windows.h>

#include "platform/Files.h"
#include "platform/windows/WideText.h"

#undef CreateDirectory

namespace platform {

std::string UserDataFolder() {
    PWSTR roaming = nullptr;
    std::string folder;
    if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming) == S_OK)
        folder = JoinPath(Narrow(roaming), "Veradune");
    CoTaskMemFree(roaming);
    return folder;
}

bool CreateUserFolder(const std::string& path) {
    // The folders of a user's profile are the user's alone already.
    for (size_t slash = path.find_first_of("\\/", 3); slash != std::string::npos;
         slash = path.find_first_of("\\/", slash + 1))
        CreateDirectoryW(Wide(path.substr(0, slash)).c_str(), nullptr);
    CreateDirectoryW(Wide(path).c_str(), nullptr);
    return IsDirectory(path);
}

}  // namespace platform
