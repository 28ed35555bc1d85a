#pragma once
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
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

// What `work` returns when run in a child process with this file size limit and,
// when given, this read-only folder; kUnconfined when the folder could not be made
// read-only. The child runs core code only, on its single thread.
inline std::string InConfinedChild(rlim_t fileLimit, const std::string& readOnly,
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
    for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;) result.append(buffer, n);
    ::close(ends[0]);
    int status = 0;
    const bool exited = pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
                        WEXITSTATUS(status) == 0;
    if (!readOnly.empty()) ::chmod(readOnly.c_str(), 0755);
    return exited ? result : "the child failed: " + result;
}
