// The program KillTest kills: it downloads the pages of two portals into one folder
// in turn, over and over, and after its first completed download says so with a
// byte on its output.
//   abrupt_victim FOLDER HOST HOST

#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <string>

#include "acquire/DownloadJob.h"
#include "acquire/HttpFetcher.h"
#include "acquire/JobReporter.h"
#include "support/RecordingNetworkErrors.h"

int main(int argc, char** argv) {
    // A victim outlives neither its test nor a minute.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    if (argc != 4) return 2;
    RecordingNetworkErrors errors;
    const std::atomic<bool> cancel{false};
    const HttpFetcherStart http = StartHttpFetcher({}, errors, cancel);
    if (!http.fetcher) return 3;
    SilentJobReporter reporter;
    bool announced = false;
    for (int turn = 0; std::chrono::steady_clock::now() < deadline; turn ^= 1) {
        DownloadJob job(argv[1], {http.fetcher.get(), argv[2 + turn], "id", "pw"}, reporter,
                        cancel);
        const bool written = job.Run().end == JobEnd::Ok;
        if (written && !announced) announced = ::write(STDOUT_FILENO, "W", 1) == 1;
    }
    return 0;
}
