// The program KillTest kills: it writes one file, or one folder of pages, over and
// over, two versions in turn, and after its first completed write says so with a
// byte on its output.
//   abrupt_victim settings PATH FIRST SECOND     saves two loaded settings files to PATH
//   abrupt_victim pages PATH HOST FIRST SECOND   fetches two shop pages (company ids) to PATH
//   abrupt_victim downloads FOLDER HOST HOST     downloads the two portals' pages to FOLDER

#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <string>

#include "acquire/DownloadJob.h"
#include "acquire/HttpFetcher.h"
#include "acquire/JobReporter.h"
#include "acquire/PortalQuery.h"
#include "config/ConfigStore.h"
#include "support/RecordingNetworkErrors.h"

int main(int argc, char** argv) {
    // A victim outlives neither its test nor a minute.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    const bool settings = argc == 5 && std::string(argv[1]) == "settings";
    const bool downloads = argc == 5 && std::string(argv[1]) == "downloads";
    if (!settings && !downloads && !(argc == 6 && std::string(argv[1]) == "pages")) return 2;
    ConfigStore versions[2];
    RecordingNetworkErrors errors;
    const std::atomic<bool> cancel{false};
    const HttpFetcherStart http = StartHttpFetcher({}, errors, cancel);
    if (settings ? !versions[0].Load(argv[3]) || !versions[1].Load(argv[4]) : !http.fetcher)
        return 3;
    const std::string path = argv[2];
    SilentJobReporter reporter;
    const auto download = [&](const char* host) {
        DownloadJob job(path, {http.fetcher.get(), host, "id", "pw"}, reporter, cancel);
        return job.Run().end == JobEnd::Ok;
    };
    bool announced = false;
    for (int turn = 0; std::chrono::steady_clock::now() < deadline; turn ^= 1) {
        const std::string query =
            settings || downloads ? "" : ShopPageQuery(std::stoi(argv[4 + turn]));
        const bool written = settings    ? versions[turn].Save(path)
                             : downloads ? download(argv[3 + turn])
                                         : http.fetcher->FetchToFile(
                                               argv[3], query + AccountSuffix("id", "pw"), path);
        if (written && !announced) announced = ::write(STDOUT_FILENO, "W", 1) == 1;
    }
    return 0;
}
