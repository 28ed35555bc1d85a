#pragma once
#include <string>

// The places a desktop session gives each user, for a program started without a
// meaningful current folder (from the desktop menu).
namespace platform {

// The folder for the program's data of this user: $XDG_DATA_HOME/veradune, else
// ~/.local/share/veradune; on Windows %APPDATA%\Veradune. Only named, not
// created; empty when the system names no such place.
std::string UserDataFolder();

// Creates `path` and the missing folders above it, for this user alone; true when
// `path` is a folder afterwards.
bool CreateUserFolder(const std::string& path);

}  // namespace platform
