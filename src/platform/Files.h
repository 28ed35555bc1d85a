#pragma once
#include <string>
#include <string_view>

// File operations whose details differ between platforms (permissions, flushing,
// replacing a file in one step). Paths are byte strings as the system takes them.
namespace platform {

bool PathExists(const std::string& path);
bool IsDirectory(const std::string& path);
bool CreateDirectory(const std::string& path);

// Reads the whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& contents);

// Joins a folder and a file name with the platform's separator.
std::string JoinPath(std::string_view folder, std::string_view name);

enum class FileAccess { Everyone, OwnerOnly };

// Replaces `path` with `contents` so that readers only ever see the old or the new
// file whole: a temporary file in the same folder is written, flushed to disk and
// renamed over the target. On failure the target is untouched and the temporary
// file removed.
bool WriteFileAtomically(const std::string& path, std::string_view contents,
                         FileAccess access = FileAccess::Everyone);

}  // namespace platform
