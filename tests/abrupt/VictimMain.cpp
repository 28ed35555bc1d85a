// The program the abrupt-ending tests run in a child process of their own:
//   abrupt_victim FOLDER HOST HOST
// (KillTest kills it) downloads the pages of two portals into one folder in turn,
// over and over, and after each completed download says so with a byte on its
// output;
//   abrupt_victim --confined LIMIT READONLY WORKDIR HOST
// (UnwritableTest) with files limited to LIMIT bytes and the folder READONLY (if
// not empty) read-only, saves settings with a long search history in WORKDIR and
// downloads once; prints the reason the save gave, the download's JobText and the
// first network error, or kUnconfined when it could not confine itself.

#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>

#include "abrupt/Victim.h"
#include "acquire/DownloadJob.h"
#include "acquire/HttpFetcher.h"
#include "acquire/JobReporter.h"
#include "config/ConfigStore.h"
#include "config/WorkingFolder.h"
#include "support/RecordTexts.h"
#include "support/RecordingNetworkErrors.h"

namespace {

// Writes that fail part way, without root and without mounting a small disk: a file
// size limit (RLIMIT_FSIZE binds root too), as on a disk that fills up, or a
// read-only folder.
bool Confine(rlim_t fileLimit, const std::string& readOnly) {
    // Writes past the limit then fail with EFBIG instead of ending the program.
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{fileLimit, fileLimit};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
    if (readOnly.empty()) return true;
    if (::geteuid() != 0) return ::chmod(readOnly.c_str(), 0555) == 0;
    // Root writes regardless of file modes; a read-only bind mount in a mount
    // namespace of the program's own stops it.
    const char* folder = readOnly.c_str();
    return ::unshare(CLONE_NEWNS) == 0 &&
           ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount(folder, folder, nullptr, MS_BIND, nullptr) == 0 &&
           ::mount(nullptr, folder, nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    // A victim outlives neither its test nor a minute.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    const bool confined = argc == 6 && std::string(argv[1]) == "--confined";
    if (argc != 4 && !confined) return 2;
    std::string reason;
    if (confined) {
        if (!Confine(std::strtoull(argv[2], nullptr, 10), argv[3])) {
            std::cout << kUnconfined;
            return 0;
        }
        LongHistorySettings().Save(WorkingFolder(argv[4]).ConfigPath(), &reason);
    }
    RecordingNetworkErrors errors;
    const std::atomic<bool> cancel{false};
    const HttpFetcherStart http = StartHttpFetcher({}, errors, cancel);
    SilentJobReporter reporter;
    if (confined) {
        DownloadJob job(WorkingFolder(argv[4]).DownloadFolder(),
                        {http.fetcher.get(), argv[5], "me", "pw"}, reporter, cancel);
        std::cout << reason << '\n'
                  << (http.fetcher ? JobText(job) : http.error)
                  << (errors.texts.empty() ? "" : "\nerror box: " + errors.texts[0]);
        return 0;
    }
    if (!http.fetcher) return 3;
    for (int turn = 0; std::chrono::steady_clock::now() < deadline; turn ^= 1) {
        DownloadJob job(argv[1], {http.fetcher.get(), argv[2 + turn], "id", "pw"}, reporter,
                        cancel);
        if (job.Run().end == JobEnd::Ok && ::write(STDOUT_FILENO, "W", 1) != 1) return 4;
    }
    return 0;
}
