// The program killed (SIGKILL) at random moments while it writes one file over and
// over: the file always holds one whole version, and what the kills leave behind
// neither piles up nor stands in the way of the next write.

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <functional>
#include <random>
#include <thread>

#include "acquire/HttpFetcher.h"
#include "acquire/PagePaths.h"
#include "acquire/PageStaging.h"
#include "acquire/PortalQuery.h"
#include "config/ConfigStore.h"
#include "platform/Files.h"
#include "portal/PortalServer.h"
#include "shopdata/FixedTables.h"
#include "support/HandMadePages.h"
#include "support/RecordingNetworkErrors.h"
#include "support/ShiftJisLiteral.h"
#include "support/TestFiles.h"

namespace {

// Starts the victim program, waits for its first completed write, lets it write on
// for a random pause of several writes and kills it. True when it was still running.
bool RunAndKill(std::vector<std::string> arguments, std::mt19937& random) {
    arguments.insert(arguments.begin(), VERADUNE_ABRUPT_VICTIM_PATH);
    std::vector<char*> argv;
    for (std::string& word : arguments) argv.push_back(word.data());
    argv.push_back(nullptr);
    int output[2];
    if (::pipe(output) != 0) return false;
    const pid_t pid = ::fork();
    if (pid < 0) return false;
    if (pid == 0) {
        ::dup2(output[1], STDOUT_FILENO);
        // Nor may the portal's sockets in this process live on in the victim.
        ::close_range(STDERR_FILENO + 1, ~0U, 0);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(output[1]);
    pollfd firstWrite{output[0], POLLIN, 0};
    char byte = 0;
    // The poll's timeout only guards against a hang.
    const bool wrote = ::poll(&firstWrite, 1, 20000) == 1 && ::read(output[0], &byte, 1) == 1;
    ::close(output[0]);
    std::this_thread::sleep_for(
        std::chrono::milliseconds(std::uniform_int_distribution(0, 30)(random)));
    ::kill(pid, SIGKILL);
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && wrote && WIFSIGNALED(status) &&
           WTERMSIG(status) == SIGKILL;
}

class KillTest : public ::testing::Test {
protected:
    // Kills the victim 40 times; each time the target then holds one of `whole` with
    // at most one temporary file beside it. Then `writeSecond` writes whole[1] once more
    // and must clear what the kills left.
    void KillRepeatedly(const std::vector<std::string>& arguments,
                        const std::array<std::string, 2>& whole,
                        const std::function<bool()>& writeSecond) {
        const std::vector<std::string> files = FolderEntries(m_folder.Path());
        std::mt19937 random(std::random_device{}());
        std::array<int, 2> found{};
        for (int kill = 0; kill < 40; ++kill) {
            ASSERT_TRUE(RunAndKill(arguments, random)) << kill << ": no write or an early end";
            const std::string contents = ReadBytes(m_target);
            ASSERT_TRUE(contents == whole[0] || contents == whole[1])
                << kill << ": a file of " << contents.size() << " bytes, neither version whole";
            ++found[contents == whole[0] ? 0 : 1];
            ASSERT_LE(FolderEntries(m_folder.Path()).size(), files.size() + 1) << kill;
        }
        // Else the victim did not write both versions between the kills.
        EXPECT_TRUE(found[0] > 0 && found[1] > 0);
        ASSERT_TRUE(writeSecond());
        EXPECT_EQ(ReadBytes(m_target), whole[1]);
        EXPECT_EQ(FolderEntries(m_folder.Path()), files);
    }

    TempFolder m_folder;
    const std::string m_target = m_folder.File("target");
};

TEST_F(KillTest, SettingsFileIsAlwaysOneWholeSave) {
    // About 300 KB of search history: kills land inside the large save.
    ConfigStore large;
    for (int i = 0; i < 9000; ++i) large.searchHistory.push_back(S("検索語") + std::to_string(i));
    ConfigStore small;
    small.portalId = "small";
    const std::string first = m_folder.File("large"), second = m_folder.File("small");
    ASSERT_TRUE(large.Save(first) && small.Save(second) && small.Save(m_target));
    KillRepeatedly({"settings", m_target, first, second}, {ReadBytes(first), ReadBytes(second)},
                   [&] { return small.Save(m_target); });
}

TEST_F(KillTest, SavedPageIsAlwaysOneWholePage) {
    const std::string small = ShopPage("小商会", "リスボン", {{"塩", 5}});
    portal::PortalSettings settings;
    // 2 MiB of page: kills land inside its body.
    settings.faults.push_back({portal::FaultKind::Huge, 2, {{portal::PortalPage::Shop, 1}}});
    portal::PortalServer server(
        std::make_shared<portal::MemoryPageSource>(
            std::map<int, std::string>{}, std::map<int, std::string>{{1, small + " "}, {2, small}}),
        std::move(settings));
    ASSERT_TRUE(server.Start(0));
    RecordingNetworkErrors errors;
    const std::atomic<bool> cancel{false};
    const HttpFetcherStart http = StartHttpFetcher({}, errors, cancel);
    ASSERT_TRUE(http.fetcher) << http.error;
    const auto fetch = [&](int shop) {
        const std::string query = ShopPageQuery(shop) + AccountSuffix("id", "pw");
        return http.fetcher->FetchToFile(server.HostPort(), query, m_target) != 0;
    };
    ASSERT_TRUE(fetch(1));
    KillRepeatedly({"pages", m_target, server.HostPort(), "1", "2"}, {ReadBytes(m_target), small},
                   [&] { return fetch(2); });
    EXPECT_EQ(errors.texts, std::vector<std::string>{});
    server.Stop();
}

// Killed while it stages a download or moves it over the saved pages, the next
// start (Recover) shows the earlier download's pages or the new ones, every one.
TEST_F(KillTest, SavedPagesAreAlwaysOneWholeDownload) {
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
    const std::string saved = m_folder.File("DownloadFiles");
    std::mt19937 random(std::random_device{}());
    std::array<int, 2> found{};
    for (int kill = 0; kill < 40; ++kill) {
        ASSERT_TRUE(RunAndKill({"downloads", saved, servers[0]->HostPort(), servers[1]->HostPort()},
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
