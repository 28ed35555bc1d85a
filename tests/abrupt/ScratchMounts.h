#pragma once
#include <string>
#include <vector>

// File systems made for one test and undone with it: small tmpfs mounts to fill up,
// and read-only bind mounts of a folder or a single file. Mounting needs root (or
// CAP_SYS_ADMIN); every call returns 0 or the errno of the refusal, so that a test
// can skip where it is not allowed.
class ScratchMounts {
public:
    ScratchMounts() = default;
    ~ScratchMounts() { UnmountAll(); }
    ScratchMounts(const ScratchMounts&) = delete;
    ScratchMounts& operator=(const ScratchMounts&) = delete;

    // A tmpfs with `options` (e.g. "size=2m") on the existing folder `folder`.
    int MountTmpfs(const std::string& folder, const std::string& options);
    // `path` (a folder or a file) shown read-only in its own place.
    int MakeReadOnly(const std::string& path);
    // Undoes every mount, the last one first; also when they are busy.
    void UnmountAll();

private:
    std::vector<std::string> m_mounted;
};

// Whether an errno of the calls above means that mounting is not allowed here.
bool MountRefused(int error);

// Appends to `path` until the file system has no room left; false when the file
// could not be written or the file system never filled.
bool FillUp(const std::string& path);

// Gives about `bytes` of a file made by FillUp back to the file system.
bool GiveBack(const std::string& path, long bytes);

// Creates empty files in `folder` until the file system has no inode left; false
// when it never ran out.
bool UseUpInodes(const std::string& folder);
