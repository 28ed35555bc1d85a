#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace platform {

bool PathExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateDirectory(const std::string& path) {
    return ::mkdir(path.c_str(), 0777) == 0;
}

bool RenameFile(const std::string& from, const std::string& to, std::string* failureReason) {
    if (::rename(from.c_str(), to.c_str()) == 0) return true;
    if (failureReason != nullptr) *failureReason = std::strerror(errno);
    return false;
}

bool ReadWholeFile(const std::string& path, std::string& contents) {
    // Only a plain file is read: a pipe or a device under a page's or the settings'
    // name could block the open or never end. O_NONBLOCK keeps the open of a pipe
    // from waiting for a writer and means nothing for a plain file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0) ::close(fd);
        contents.clear();
        return false;
    }
    // Read straight into the string; the size is only a hint, since the file
    // may change while it is read. A string reused for file after file is only
    // grown, so its room is not filled anew each time.
    const auto expected = static_cast<size_t>(std::max<off_t>(st.st_size, 0));
    if (contents.size() <= expected) contents.resize(expected > 0 ? expected + 1 : 1 << 16);
    size_t size = 0;
    for (;;) {
        if (size == contents.size()) contents.resize(contents.size() * 2);
        const size_t wanted = contents.size() - size;
        const ssize_t n = ::read(fd, contents.data() + size, wanted);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            contents.clear();
            return false;
        }
        size += static_cast<size_t>(n);
        // A read that comes short at the size the file had when opened has met its
        // end: asking again to hear nothing is left would double the calls.
        if (n == 0 || (size == expected && static_cast<size_t>(n) < wanted)) break;
    }
    ::close(fd);
    contents.resize(size);
    return true;
}

std::vector<std::string> ListFiles(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
        struct stat st;
        const std::string name = entry->d_name;
        if (::lstat(JoinPath(folder, name).c_str(), &st) == 0 && S_ISREG(st.st_mode))
            names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

bool ReplaceFile(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool RemoveFolder(const std::string& path) {
    return ::rmdir(path.c_str()) == 0;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    return path;
}

namespace {

bool NamesOpenFile(const std::string& name, int fd) {
    struct stat opened, named;
    return ::fstat(fd, &opened) == 0 && ::lstat(name.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// A writer claims its temporary file with an exclusive lock, which lasts until the
// writer closes the file or dies. Only the holder of the claim on the file that a
// name stands for renames or removes that name.
bool Claim(int fd, const std::string& name) {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 && NamesOpenFile(name, fd);
}

// Removes the temporary file of a writer that died; false when a live writer holds
// it or it cannot be removed. Opened without following links or waiting on a pipe,
// since whatever lies under that name is not trusted.
bool RemoveAbandoned(const std::string& name) {
    const int fd = ::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
    const bool removed = Claim(fd, name) && ::unlink(name.c_str()) == 0;
    ::close(fd);
    return removed;
}

}  // namespace

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

bool AtomicFileWriter::Open(const std::string& path, FileAccess access, FileSync sync) {
    static std::atomic<unsigned> counter{0};
    Discard();
    m_path = path;
    m_failed = false;
    m_error = 0;
    m_sync = sync;
    const mode_t mode = access == FileAccess::OwnerOnly ? 0600 : 0666;
    // One temporary name per target, so that writers killed mid-write leave at most
    // one file behind, which the next writer of that target clears away.
    const std::string shared = path + ".tmp";
    for (int attempt = 0; m_fd < 0 && attempt < 3; ++attempt) {
        const int fd = ::open(shared.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 && Claim(fd, shared)) {
            m_fd = fd;
            m_temporary = shared;
        } else if (fd >= 0) {
            ::close(fd);  // taken over by another writer at once; try again
        } else if (errno != EEXIST || !RemoveAbandoned(shared)) {
            break;
        }
    }
    // A second writer of the same target, or a name in the way: a name of its own.
    for (int attempt = 0; m_fd < 0 && attempt < 100; ++attempt) {
        m_temporary = path + ".tmp-" + std::to_string(::getpid()) + "-" +
                      std::to_string(counter.fetch_add(1));
        m_fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (m_fd < 0 && errno != EEXIST) break;
    }
    if (m_fd >= 0) return true;
    m_error = errno;
    m_temporary.clear();
    return false;
}

bool AtomicFileWriter::Write(std::string_view data) {
    if (m_fd < 0 || m_failed) return false;
    while (!data.empty()) {
        const ssize_t n = ::write(m_fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            m_failed = true;
            m_error = errno;
            return false;
        }
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool AtomicFileWriter::Commit() {
    if (m_fd < 0 || m_failed) return false;
    const bool synced = m_sync == FileSync::NoFlush || ::fsync(m_fd) == 0;
    // The claim on the temporary name belongs to the open file, so a duplicate
    // keeps it past the close until the name has been renamed.
    const int claim = synced ? ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0) : -1;
    if (claim < 0) return Fail();
    if (::close(m_fd) != 0) {
        m_error = errno;
        m_fd = claim;
        return Fail();
    }
    m_fd = claim;
    if (::rename(m_temporary.c_str(), m_path.c_str()) != 0) return Fail();
    m_temporary.clear();
    ::close(m_fd);
    m_fd = -1;
    if (m_sync == FileSync::NoFlush) return true;
    // The rename itself reaches the disk only with the folder's entry.
    const size_t slash = m_path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : m_path.substr(0, slash + 1);
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

// Keeps the first error number: the clean-up's own calls may change errno.
bool AtomicFileWriter::Fail() {
    if (m_error == 0) m_error = errno;
    Discard();
    return false;
}

void AtomicFileWriter::Discard() {
    // Removed before it is closed: the name is this writer's only while it holds the claim.
    if (!m_temporary.empty()) ::unlink(m_temporary.c_str());
    m_temporary.clear();
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

bool WriteFileAtomically(const std::string& path, std::string_view contents, FileAccess access,
                         FileSync sync, int* errorNumber) {
    AtomicFileWriter writer;
    const bool written =
        writer.Open(path, access, sync) && writer.Write(contents) && writer.Commit();
    if (!written && errorNumber != nullptr) *errorNumber = writer.ErrorNumber();
    return written;
}

}  // namespace platform
