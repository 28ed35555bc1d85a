#include "platform/Files.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/windows/WideText.h"
// After <windows.h>, which they build on.
#include <sddl.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

// <windows.h> names its A/W pairs by macro; these are this file's own functions.
#undef CreateDirectory
#undef ReplaceFile

namespace platform {

namespace {

DWORD Attributes(const std::string& path) {
    const std::wstring wide = Wide(path);
    return wide.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(wide.c_str());
}

// The errno value for a Windows error, so that callers word a failure the same on both systems.
int ErrnoFor(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        default:
            return EIO;
    }
}

// A protected access list with one entry, the user running the program: nothing inherited from
// the folder lets anyone else read the file. Null when the system cannot say who the user is.
PSECURITY_DESCRIPTOR MakeOwnerOnlyDescriptor() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return nullptr;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::string user(size, '\0');
    wchar_t* sid = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetTokenInformation(token, TokenUser, user.data(), size, &size) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &sid)) {
        const std::wstring sddl = L"D:P(A;;FA;;;" + std::wstring(sid) + L")";
        ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                             &descriptor, nullptr);
        LocalFree(sid);
    }
    CloseHandle(token);
    return descriptor;
}

// No sharing of writes or deletion: while a writer holds its temporary file open, no other
// writer can remove it, which is how a live writer's file is told from an abandoned one. The
// file keeps its access list when it is moved over the target.
HANDLE CreateTemporary(const std::string& name, FileAccess access) {
    const std::wstring wide = Wide(name);
    if (wide.empty()) {
        SetLastError(ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    SECURITY_ATTRIBUTES security = {sizeof security, nullptr, FALSE};
    if (access == FileAccess::OwnerOnly) {
        security.lpSecurityDescriptor = MakeOwnerOnlyDescriptor();
        // Better no file than one that others may read.
        if (security.lpSecurityDescriptor == nullptr) {
            SetLastError(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
    }
    const HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &security,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = GetLastError();
    LocalFree(security.lpSecurityDescriptor);
    SetLastError(error);
    return file;
}

HANDLE HandleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

}  // namespace

bool PathExists(const std::string& path) {
    return Attributes(path) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CreateDirectory(const std::string& path) {
    const std::wstring wide = Wide(path);
    return !wide.empty() && CreateDirectoryW(wide.c_str(), nullptr);
}

bool ReadWholeFile(const std::string& path, std::string& contents) {
    contents.clear();
    const std::wstring wide = Wide(path);
    if (wide.empty()) return false;
    // Writers may replace the file meanwhile; the handle keeps reading the old one.
    const HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    // Only a plain file on a disk: a pipe or a device under a page's name could block or never end.
    LARGE_INTEGER size{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size)) {
        CloseHandle(file);
        return false;
    }
    size_t used = 0;
    contents.resize(size.QuadPart > 0 ? static_cast<size_t>(size.QuadPart) + 1 : 1 << 16);
    for (;;) {
        if (used == contents.size()) contents.resize(contents.size() * 2);
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(contents.size() - used, 1 << 30));
        DWORD read = 0;
        if (!ReadFile(file, contents.data() + used, chunk, &read, nullptr)) {
            CloseHandle(file);
            contents.clear();
            return false;
        }
        if (read == 0) break;
        used += read;
    }
    CloseHandle(file);
    contents.resize(used);
    return true;
}

std::vector<std::string> ListFiles(const std::string& folder) {
    std::vector<std::string> names;
    const std::wstring wide = Wide(JoinPath(folder, "*"));
    WIN32_FIND_DATAW found;
    const HANDLE search = wide.empty() ? INVALID_HANDLE_VALUE
                                       : FindFirstFileExW(wide.c_str(), FindExInfoBasic, &found,
                                                          FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return names;
    // Plain files only, as on POSIX systems: no folders, links or devices.
    constexpr DWORD kNotPlain =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
    do {
        if ((found.dwFileAttributes & kNotPlain) == 0) names.push_back(Narrow(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

bool RenameFile(const std::string& from, const std::string& to, std::string* failureReason) {
    const std::wstring wideFrom = Wide(from), wideTo = Wide(to);
    if (!wideFrom.empty() && !wideTo.empty() &&
        MoveFileExW(wideFrom.c_str(), wideTo.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    if (failureReason != nullptr) *failureReason = std::strerror(ErrnoFor(GetLastError()));
    return false;
}

bool ReplaceFile(const std::string& from, const std::string& to) {
    const std::wstring wideFrom = Wide(from), wideTo = Wide(to);
    return !wideFrom.empty() && !wideTo.empty() &&
           MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool RemoveFile(const std::string& path) {
    const std::wstring wide = Wide(path);
    return !wide.empty() && DeleteFileW(wide.c_str());
}

bool RemoveFolder(const std::string& path) {
    const std::wstring wide = Wide(path);
    return !wide.empty() && RemoveDirectoryW(wide.c_str());
}

// Windows takes "/" as well as "\", and "/" keeps paths the same on both systems wherever the
// program shows them.
std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
    path += name;
    return path;
}

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
    HANDLE file = INVALID_HANDLE_VALUE;
    // One temporary name per target, so that writers killed mid-write leave at most one file
    // behind; the next writer removes it, which fails while a live writer holds it.
    const std::string shared = path + ".tmp";
    for (int attempt = 0; file == INVALID_HANDLE_VALUE && attempt < 3; ++attempt) {
        file = CreateTemporary(shared, access);
        if (file != INVALID_HANDLE_VALUE) {
            m_temporary = shared;
        } else if (GetLastError() != ERROR_FILE_EXISTS || !RemoveFile(shared)) {
            break;
        }
    }
    // A second writer of the same target, or a name in the way: a name of its own.
    for (int attempt = 0; file == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
        m_temporary = path + ".tmp-" + std::to_string(GetCurrentProcessId()) + "-" +
                      std::to_string(counter.fetch_add(1));
        file = CreateTemporary(m_temporary, access);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (file == INVALID_HANDLE_VALUE) {
        m_error = ErrnoFor(GetLastError());
        m_temporary.clear();  // not this writer's file
        return false;
    }
    m_fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (m_fd >= 0) return true;
    CloseHandle(file);
    m_error = EMFILE;
    Discard();
    return false;
}

bool AtomicFileWriter::Write(std::string_view data) {
    if (m_fd < 0 || m_failed) return false;
    while (!data.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size(), 1 << 30));
        DWORD written = 0;
        if (!WriteFile(HandleOf(m_fd), data.data(), chunk, &written, nullptr)) {
            m_failed = true;
            m_error = ErrnoFor(GetLastError());
            return false;
        }
        data.remove_prefix(written);
    }
    return true;
}

bool AtomicFileWriter::Commit() {
    if (m_fd < 0 || m_failed) return false;
    if (m_sync == FileSync::Flush && !FlushFileBuffers(HandleOf(m_fd))) return Fail();
    // Closed first: a file open without shared deletion cannot be moved. Another writer may take
    // the name meanwhile; the move then fails and the target stays as it was.
    _close(m_fd);
    m_fd = -1;
    const DWORD flags =
        MOVEFILE_REPLACE_EXISTING | (m_sync == FileSync::Flush ? MOVEFILE_WRITE_THROUGH : 0);
    const std::wstring from = Wide(m_temporary), to = Wide(m_path);
    if (to.empty() || !MoveFileExW(from.c_str(), to.c_str(), flags)) return Fail();
    m_temporary.clear();
    return true;
}

// Keeps the first error number: the clean-up's own calls may change the last error.
bool AtomicFileWriter::Fail() {
    if (m_error == 0) m_error = ErrnoFor(GetLastError());
    Discard();
    return false;
}

void AtomicFileWriter::Discard() {
    if (m_fd >= 0) _close(m_fd);
    m_fd = -1;
    if (!m_temporary.empty()) RemoveFile(m_temporary);
    m_temporary.clear();
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
