// The program KillTest kills: it writes one file over and over, two versions in
// turn, and after its first completed write says so with a byte on its output.
//   abrupt_victim settings PATH FIRST SECOND     saves two loaded settings files to PATH
//   abrupt_victim pages PATH HOST FIRST SECOND   fetches two shop pages (company ids) to PATH

#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <string>

#include "acquire/HttpFetcher.h"
#include "acquire/PortalQuery.h"
#include "acquire/RecordingNetworkErrors.h"
#include "config/ConfigStore.h"

int main(int argc, char** argv) {
    // A victim outlives neither its test nor a minute.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    const bool settings = argc == 5 && std::string(argv[1]) == "settings";
    if (!settings && !(argc == 6 && std::string(argv[1]) == "pages")) return 2;
    ConfigStore versions[2];
    RecordingNetworkErrors errors;
    const std::atomic<bool> cancel{false};
    const HttpFetcherStart http = StartHttpFetcher({}, errors, cancel);
    if (settings ? !versions[0].Load(argv[3]) || !versions[1].Load(argv[4]) : !http.fetcher)
        return 3;
    const std::string path = argv[2];
    bool announced = false;
    for (int turn = 0; std::chrono::steady_clock::now() < deadline; turn ^= 1) {
        const std::string query = settings ? "" : ShopPageQuery(std::stoi(argv[4 + turn]));
        const bool written =
            settings ? versions[turn].Save(path)
                     : http.fetcher->FetchToFile(argv[3], query + AccountSuffix("id", "pw"), path);
        if (written && !announced) announced = ::write(STDOUT_FILENO, "W", 1) == 1;
    }
    return 0;
}
