#pragma once
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "config/ConfigStore.h"

// What abrupt_victim and the tests that run it share.

inline constexpr char kUnconfined[] = "unconfined";

// The settings the confined victim saves: larger than a file of the defaults, so
// that a disk filling up can stop them part way.
inline ConfigStore LongHistorySettings() {
    ConfigStore settings;
    settings.searchHistory.assign(100, "word");
    return settings;
}

// A program (the first word) started in a child process, its standard output on a
// pipe. It is exec'd at once after the fork: a bare child of a test process whose
// other threads (the stand-in portal's, Qt's) held a lock at that moment could wait
// on it for ever.
struct ChildProgram {
    pid_t pid = -1;
    int output = -1;
};

inline ChildProgram StartChildProgram(std::vector<std::string> words) {
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    int output[2];
    if (::pipe(output) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(output[1], STDOUT_FILENO);
        // Nor may the portal's sockets in this process live on in the child.
        ::close_range(STDERR_FILENO + 1, ~0U, 0);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(output[1]);
    return {pid, output[0]};
}

// What the program wrote once it ended; a note first when it failed.
inline std::string ChildProgramOutput(const std::vector<std::string>& words) {
    const ChildProgram child = StartChildProgram(words);
    std::string output;
    char buffer[4096];
    for (ssize_t n; (n = ::read(child.output, buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<size_t>(n));
    ::close(child.output);
    int status = 0;
    const bool ok = child.pid > 0 && ::waitpid(child.pid, &status, 0) == child.pid &&
                    WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return ok ? output : "the program failed: " + output;
}
