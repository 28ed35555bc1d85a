// A program that writes the same file over and over until it is killed, so that a
// test can kill it at any moment of a write and look at what is left:
//
//   abrupt_victim settings PATH     saves the two settings of VictimPlan.h in turn
//   abrupt_victim pages HOST PATH   fetches the two shop pages of VictimPlan.h in turn
//
// After its first completed write it writes one byte to its standard output.

#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "abrupt/VictimPlan.h"
#include "acquire/HttpFetcher.h"
#include "acquire/PortalQuery.h"
#include "config/ConfigStore.h"

namespace {

// A victim whose test died without killing it stops by itself.
constexpr auto kLifetime = std::chrono::seconds(60);

void AnnounceFirstWrite() {
    static bool announced = false;
    if (announced) return;
    announced = true;
    const char byte = victim::kFirstWriteDone;
    if (::write(STDOUT_FILENO, &byte, 1) != 1) std::_Exit(3);
}

bool TimeIsUp(std::chrono::steady_clock::time_point start) {
    return std::chrono::steady_clock::now() - start > kLifetime;
}

int SaveSettings(const std::string& path) {
    const ConfigStore settings[] = {victim::LargeSettings(), victim::SmallSettings()};
    const auto start = std::chrono::steady_clock::now();
    for (int turn = 0; !TimeIsUp(start); turn ^= 1)
        if (settings[turn].Save(path)) AnnounceFirstWrite();
    return 0;
}

class IgnoredErrors : public NetworkErrorReporter {
public:
    void ShowNetworkError(const std::string&, const std::string&) override {}
};

int FetchPages(const std::string& host, const std::string& path) {
    IgnoredErrors errors;
    const std::atomic<bool> cancel{false};
    HttpFetcher fetcher({}, errors, cancel);
    const int shops[] = {victim::kLargeShop, victim::kSmallShop};
    const auto start = std::chrono::steady_clock::now();
    for (int turn = 0; !TimeIsUp(start); turn ^= 1)
        if (fetcher.FetchToFile(host, ShopPageQuery(shops[turn]) + AccountSuffix("id", "pw"),
                                path) != 0)
            AnnounceFirstWrite();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Nor may it outlive a test that crashed.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (argc == 3 && std::strcmp(argv[1], "settings") == 0) return SaveSettings(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "pages") == 0) return FetchPages(argv[2], argv[3]);
    std::fprintf(stderr, "usage: %s settings PATH | pages HOST PATH\n", argv[0]);
    return 2;
}
