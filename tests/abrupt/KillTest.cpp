// The program killed (SIGKILL) in the middle of writing: the file it was writing is
// always one whole version, never cut or empty, and what a killed write leaves
// behind neither piles up nor stands in the way of the next write.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>

#include "abrupt/AbruptSupport.h"
#include "abrupt/VictimPlan.h"
#include "abrupt/VictimProcess.h"
#include "acquire/HttpFetcher.h"
#include "acquire/PortalQuery.h"
#include "config/ConfigFileWriter.h"
#include "portal/PortalServer.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

// Victims are killed in two lanes side by side, each writing a file of its own, so
// that one victim's start-up overlaps the other's writing.
constexpr int kLanes = 2;
constexpr int kRoundsPerLane = 100;
// Every few rounds the kill does not wait for the victim's first write, so that it
// also lands while the victim starts up and before anything was written.
constexpr int kEarlyKillEvery = 8;
// After the first write the kill comes within this pause: several writes long.
constexpr milliseconds kKillWindow{30};
// A hang guard: the victim writes its first file long before this.
constexpr milliseconds kFirstWriteTimeout{20000};

struct KillTally {
    int wholeFirst = 0;
    int wholeSecond = 0;
    int missing = 0;
    int leftTemporary = 0;  // kills after which a temporary file lay beside the target
    size_t mostTemporaries = 0;

    void Add(const KillTally& other) {
        wholeFirst += other.wholeFirst;
        wholeSecond += other.wholeSecond;
        missing += other.missing;
        leftTemporary += other.leftTemporary;
        mostTemporaries = std::max(mostTemporaries, other.mostTemporaries);
    }
};

// The victim's arguments for writing to this target.
using VictimArguments = std::function<std::vector<std::string>(const std::string& target)>;

class KillTest : public ::testing::Test {
protected:
    explicit KillTest(std::string targetName = "Config.xml") : m_targetName(targetName) {}

    void SetUp() override {
        m_root = abrupt::MakeScratchFolder("veradune-kill-");
        ASSERT_FALSE(m_root.empty());
        for (int lane = 0; lane < kLanes; ++lane) fs::create_directory(Folder(lane));
    }
    void TearDown() override {
        if (!m_root.empty()) fs::remove_all(m_root);
    }

    fs::path Folder(int lane) const { return m_root / ("lane" + std::to_string(lane)); }
    std::string Target(int lane) const { return (Folder(lane) / m_targetName).string(); }

    // Everything in the lane's folder but its target.
    std::vector<std::string> Litter(int lane) const {
        std::vector<std::string> names = FolderEntries(Folder(lane));
        std::erase(names, m_targetName);
        return names;
    }

    // Kills the victim kLanes * kRoundsPerLane times, each time after a random
    // pause, and checks that its target then holds one of `whole`, byte for byte,
    // or is missing only while no write has ever completed there.
    void KillRepeatedly(const VictimArguments& arguments, const std::array<std::string, 2>& whole) {
        std::vector<KillTally> tallies(kLanes);
        std::vector<std::thread> lanes;
        for (int lane = 0; lane < kLanes; ++lane)
            lanes.emplace_back([&, lane] { KillInLane(lane, arguments, whole, tallies[lane]); });
        for (std::thread& lane : lanes) lane.join();
        KillTally tally;
        for (const KillTally& lane : tallies) tally.Add(lane);
        std::printf(
            "[  TALLY   ] %d kills: %d first, %d second, %d missing; a temporary file "
            "left after %d (never more than %zu)\n",
            kLanes * kRoundsPerLane, tally.wholeFirst, tally.wholeSecond, tally.missing,
            tally.leftTemporary, tally.mostTemporaries);
        // Both versions were written between the kills; else the victim did not alternate.
        EXPECT_GT(tally.wholeFirst, 0);
        EXPECT_GT(tally.wholeSecond, 0);
    }

    void KillInLane(int lane, const VictimArguments& arguments,
                    const std::array<std::string, 2>& whole, KillTally& tally) {
        std::mt19937 random(std::random_device{}());
        std::uniform_int_distribution<int> pause(0, static_cast<int>(kKillWindow.count()));
        const std::string target = Target(lane);
        bool landed = false;
        for (int round = 0; round < kRoundsPerLane; ++round) {
            SCOPED_TRACE("lane " + std::to_string(lane) + ", round " + std::to_string(round));
            VictimProcess victim(arguments(target));
            ASSERT_TRUE(victim.Started());
            if (round % kEarlyKillEvery != 0) {
                ASSERT_TRUE(victim.WaitForFirstWrite(kFirstWriteTimeout));
            }
            std::this_thread::sleep_for(milliseconds(pause(random)));
            ASSERT_TRUE(victim.Kill()) << "the victim ended by itself: " << victim.EndText();
            landed = landed || victim.AnnouncedFirstWrite();

            std::string contents;
            if (platform::ReadWholeFile(target, contents)) {
                landed = true;
                ASSERT_TRUE(contents == whole[0] || contents == whole[1])
                    << "a file of " << contents.size() << " bytes, neither of the whole ones ("
                    << whole[0].size() << " and " << whole[1].size() << " bytes)";
                ++(contents == whole[0] ? tally.wholeFirst : tally.wholeSecond);
            } else {
                ASSERT_FALSE(landed) << "the file is gone although a write had completed";
                ++tally.missing;
            }
            const std::vector<std::string> litter = Litter(lane);
            if (!litter.empty()) ++tally.leftTemporary;
            tally.mostTemporaries = std::max(tally.mostTemporaries, litter.size());
            ASSERT_LE(litter.size(), 1u) << "temporary files pile up, e.g. " << litter[0];
        }
    }

    const std::string m_targetName;
    fs::path m_root;
};

TEST_F(KillTest, SettingsFileIsAlwaysOneWholeSave) {
    const std::array<std::string, 2> whole = {SerializeConfig(victim::LargeSettings()),
                                              SerializeConfig(victim::SmallSettings())};
    ASSERT_GT(whole[0].size(), 300000u);
    KillRepeatedly(
        [](const std::string& target) {
            return std::vector<std::string>{"settings", target};
        },
        whole);
    if (HasFatalFailure()) return;

    // The next start saves over whatever the kills left.
    for (int lane = 0; lane < kLanes; ++lane) {
        ConfigStore next;
        next.portalId = "next";
        ASSERT_TRUE(next.Save(Target(lane)));
        EXPECT_EQ(ReadBytes(Target(lane)), SerializeConfig(next));
        EXPECT_EQ(Litter(lane), std::vector<std::string>{});
    }
}

class PageKillTest : public KillTest {
protected:
    PageKillTest() : KillTest("ShopNo001.html") {}
};

TEST_F(PageKillTest, SavedPageIsAlwaysOneWholePage) {
    auto pages = std::make_shared<portal::MemoryPageSource>(
        std::map<int, std::string>{},
        std::map<int, std::string>{
            {victim::kLargeShop, ShopPage("大商会", "セビリア", {{"小麦", 100}})},
            {victim::kSmallShop, ShopPage("小商会", "リスボン", {{"塩", 5}})}});
    portal::PortalSettings settings;
    settings.faults.push_back({portal::FaultKind::Huge,
                               victim::kLargeShopMebibytes,
                               {{portal::PortalPage::Shop, victim::kLargeShop}}});
    portal::PortalServer server(pages, std::move(settings));
    ASSERT_TRUE(server.Start(0));
    const std::string host = server.HostPort();

    // The whole pages, as one uninterrupted fetch saves them.
    RecordingNetworkErrors errors;
    const std::atomic<bool> cancel{false};
    HttpFetcher fetcher({}, errors, cancel);
    std::array<std::string, 2> whole;
    const std::string reference = (m_root / "reference.html").string();
    for (const int shop : {victim::kLargeShop, victim::kSmallShop}) {
        ASSERT_NE(
            fetcher.FetchToFile(host, ShopPageQuery(shop) + AccountSuffix("id", "pw"), reference),
            0u);
        whole[shop == victim::kLargeShop ? 0 : 1] = ReadBytes(reference);
    }
    ASSERT_EQ(whole[0].size(), victim::kLargeShopMebibytes * 1024u * 1024u);
    ASSERT_EQ(whole[1], *pages->ShopPage(victim::kSmallShop));

    KillRepeatedly(
        [&](const std::string& target) {
            return std::vector<std::string>{"pages", host, target};
        },
        whole);
    if (HasFatalFailure()) return;

    // The next download fetches over whatever the kills left.
    for (int lane = 0; lane < kLanes; ++lane) {
        ASSERT_EQ(
            fetcher.FetchToFile(host, ShopPageQuery(victim::kSmallShop) + AccountSuffix("id", "pw"),
                                Target(lane)),
            whole[1].size());
        EXPECT_EQ(ReadBytes(Target(lane)), whole[1]);
        EXPECT_EQ(Litter(lane), std::vector<std::string>{});
    }
    EXPECT_TRUE(errors.texts.empty()) << errors.texts[0];
    server.Stop();
}

}  // namespace
