#pragma once
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <optional>
#include <string>

// Writes that fail part way, without root and without mounting a small disk: a
// child process whose files cannot grow past a limit (RLIMIT_FSIZE binds root too),
// as on a disk that fills up there, or whose folder is read-only.

inline constexpr char kUnconfined[] = "unconfined";

// Root writes regardless of file modes; a read-only bind mount in a mount
// namespace of the child's own stops it.
inline bool MakeReadOnly(const std::string& folder) {
    if (::geteuid() != 0) return ::chmod(folder.c_str(), 0555) == 0;
    return ::unshare(CLONE_NEWNS) == 0 &&
           ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
           ::mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) ==
               0;
}

// One run of `work` in a forked child; empty when the child did not end in time.
// A child forked from a test process whose other threads (the stand-in portal's,
// Qt's) held a lock at that moment can wait on it for ever, so a child that
// overstays is killed and the caller tries again.
inline std::optional<std::string> RunConfinedOnce(rlim_t fileLimit, const std::string& readOnly,
                                                  const std::function<std::string()>& work) {
    int ends[2];
    if (::pipe(ends) != 0) return "no pipe";
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Writes past the limit then fail with EFBIG instead of ending the child.
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{fileLimit, fileLimit};
        const bool confined =
            ::setrlimit(RLIMIT_FSIZE, &limit) == 0 && (readOnly.empty() || MakeReadOnly(readOnly));
        const std::string result = confined ? work() : kUnconfined;
        ::_exit(::write(ends[1], result.data(), result.size()) == ssize_t(result.size()) ? 0 : 1);
    }
    ::close(ends[1]);
    std::string result;
    char buffer[4096];
    bool overstayed = false;
    for (;;) {
        pollfd ready{ends[0], POLLIN, 0};
        if (::poll(&ready, 1, 30000) != 1) {
            overstayed = true;
            break;
        }
        const ssize_t n = ::read(ends[0], buffer, sizeof buffer);
        if (n <= 0) break;
        result.append(buffer, static_cast<size_t>(n));
    }
    ::close(ends[0]);
    if (overstayed && pid > 0) ::kill(pid, SIGKILL);
    int status = 0;
    const bool exited = pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
                        WEXITSTATUS(status) == 0;
    if (!readOnly.empty()) ::chmod(readOnly.c_str(), 0755);
    if (overstayed) return std::nullopt;
    return exited ? result : "the child failed: " + result;
}

// What `work` returns when run in a child process with this file size limit and,
// when given, this read-only folder; kUnconfined when the folder could not be made
// read-only. The child runs core code only.
inline std::string InConfinedChild(rlim_t fileLimit, const std::string& readOnly,
                                   const std::function<std::string()>& work) {
    for (int attempt = 0; attempt < 3; ++attempt)
        if (const auto result = RunConfinedOnce(fileLimit, readOnly, work)) return *result;
    return "the child never ended";
}
