// The program killed (SIGKILL) at random moments while it downloads over its saved
// pages: the next start always finds one whole download. A single file's write cut
// short is the full-disk cases' (UnwritableTest, ConfigFile, HttpFetcherTest).

#include <poll.h>

#include <array>
#include <csignal>
#include <random>
#include <thread>

#include "abrupt/Victim.h"
#include "acquire/PagePaths.h"
#include "acquire/PageStaging.h"
#include "platform/Files.h"
#include "portal/PortalServer.h"
#include "shopdata/FixedTables.h"
#include "support/HandMadePages.h"
#include "support/TestFiles.h"

namespace {

// Starts the victim program, waits for its first or its second completed download
// (so that either portal's pages were the last whole ones), lets it go on for a
// random part of the time a download takes, whatever the build's speed, and kills
// it. True when it was still running.
bool RunAndKill(const std::vector<std::string>& arguments, std::mt19937& random) {
    const auto started = std::chrono::steady_clock::now();
    const ChildProgram victim = StartChildProgram(arguments);
    if (victim.pid <= 0) return false;
    const auto downloaded = [&victim] {
        pollfd written{victim.output, POLLIN, 0};
        char byte = 0;
        // The poll's timeout only guards against a hang.
        return ::poll(&written, 1, 20000) == 1 && ::read(victim.output, &byte, 1) == 1;
    };
    bool wrote = downloaded();
    const auto download = std::chrono::steady_clock::now() - started;
    if (std::uniform_int_distribution(0, 1)(random)) wrote = wrote && downloaded();
    std::this_thread::sleep_for(download * std::uniform_real_distribution(0.0, 1.0)(random));
    ::kill(victim.pid, SIGKILL);
    ::close(victim.output);
    int status = 0;
    return ::waitpid(victim.pid, &status, 0) == victim.pid && wrote && WIFSIGNALED(status) &&
           WTERMSIG(status) == SIGKILL;
}

// Killed while it stages a download or moves it over the saved pages, the next
// start (Recover) shows the earlier download's pages or the new ones, every one.
TEST(KillTest, SavedPagesAreAlwaysOneWholeDownload) {
    std::map<int, std::string> cities;
    std::array<std::map<int, std::string>, 2> shops;
    for (int i = 0; i < kCityCount; ++i) {
        std::vector<std::pair<int, std::string>> listed;
        for (int id = 100 * i; id < 100 * i + 3; ++id) {
            listed.push_back({id, "商会"});
            for (int set = 0; set < 2; ++set)
                shops[set][id] = ShopPage("商会", "港", {{set ? "新" : "旧", id}});
        }
        cities[CityTable()[i].id] = CityPage(listed);
    }
    std::vector<std::unique_ptr<portal::PortalServer>> servers;
    for (const auto& set : shops) {
        servers.push_back(std::make_unique<portal::PortalServer>(
            std::make_shared<portal::MemoryPageSource>(cities, set), portal::PortalSettings{}));
        ASSERT_TRUE(servers.back()->Start(0));
    }
    const TempFolder folder;
    const std::string saved = folder.File("DownloadFiles");
    std::mt19937 random(std::random_device{}());
    std::array<int, 2> found{};
    for (int kill = 0; kill < 40; ++kill) {
        ASSERT_TRUE(RunAndKill(
            {VERADUNE_ABRUPT_VICTIM_PATH, saved, servers[0]->HostPort(), servers[1]->HostPort()},
            random));
        ASSERT_TRUE(PageStaging(saved).Recover()) << kill;
        std::array<int, 2> pages{};
        for (const auto& [id, page] : shops[0]) {
            const std::string onDisk = ReadBytes(platform::JoinPath(saved, ShopPageFileName(id)));
            ASSERT_TRUE(onDisk == page || onDisk == shops[1][id]) << kill << ": page " << id;
            ++pages[onDisk == page ? 0 : 1];
        }
        ASSERT_TRUE(pages[0] == 0 || pages[1] == 0) << kill << ": a mix of two downloads";
        ++found[pages[0] ? 0 : 1];
    }
    EXPECT_TRUE(found[0] > 0 && found[1] > 0);
}

}  // namespace
