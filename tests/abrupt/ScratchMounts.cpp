#include "abrupt/ScratchMounts.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

int ScratchMounts::MountTmpfs(const std::string& folder, const std::string& options) {
    if (::mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0)
        return errno;
    m_mounted.push_back(folder);
    return 0;
}

int ScratchMounts::MakeReadOnly(const std::string& path) {
    if (::mount(path.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) != 0) return errno;
    m_mounted.push_back(path);
    // A bind mount takes the read-only flag only when it is mounted again.
    if (::mount(nullptr, path.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0)
        return errno;
    return 0;
}

void ScratchMounts::UnmountAll() {
    // Detached, so that a test that failed while inside a mount cannot keep it.
    for (auto path = m_mounted.rbegin(); path != m_mounted.rend(); ++path)
        ::umount2(path->c_str(), MNT_DETACH);
    m_mounted.clear();
}

bool MountRefused(int error) {
    return error == EPERM || error == EACCES;
}

bool FillUp(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const std::string block(64 * 1024, 'x');
    bool full = false;
    // Smaller and smaller pieces, so that the last partly used block fills up too.
    for (size_t piece = block.size(); piece > 0 && !full;) {
        const ssize_t written = ::write(fd, block.data(), piece);
        if (written >= 0) continue;
        if (errno != ENOSPC) break;
        if (piece == 1) full = true;
        piece = std::max<size_t>(1, piece / 2);
    }
    ::close(fd);
    return full;
}

bool GiveBack(const std::string& path, long bytes) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && st.st_size >= bytes &&
           ::truncate(path.c_str(), st.st_size - bytes) == 0;
}

bool UseUpInodes(const std::string& folder) {
    for (int i = 0; i < 1000000; ++i) {
        const std::string name = folder + "/inode-" + std::to_string(i);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) return errno == ENOSPC;
        ::close(fd);
    }
    return false;
}
