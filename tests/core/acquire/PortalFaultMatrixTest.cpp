// The download job against a stand-in portal that misbehaves on one city page,
// one shop page or every request: the job goes on, keeps the earlier page where
// it could not fetch a whole one, and shows one error box per network failure. A
// run that fetched nothing or found no company changes no saved page.
#include <gtest/gtest.h>

#include <future>

#include "acquire/DownloadJob.h"
#include "acquire/HttpFetcher.h"
#include "acquire/PagePaths.h"
#include "portal/PortalServer.h"
#include "shopdata/FixedTables.h"
#include "support/HandMadePages.h"
#include "support/RecordTexts.h"
#include "support/RecordingNetworkErrors.h"
#include "support/RecordingReporter.h"
#include "support/TestFiles.h"

namespace {

constexpr std::chrono::milliseconds kTimeout{2000};
constexpr int kFaultyCity = 4, kFaultyCompany = 81;  // halfway through their passes
enum class Aim { City, Shop, Every };
enum class Kept { Earlier, Served, Nothing };  // what the faulty page gives after the run
constexpr char kRejected[] = "account";        // the portal does not take the account

// City i lists 10 (i + 1) + 1 and + 2; its earlier page listed + 1 and + 3. Served
// pages are padded so that 100 bytes a second outlast the timeout.
std::string CityPageOf(int city, bool earlier) {
    const int base = 10 * (city + 1);
    return CityPage({{base + 1, "甲"}, {base + (earlier ? 3 : 2), "乙"}}) +
           std::string(earlier ? 0 : 300, ' ');
}
std::string ShopPageOf(int id, bool earlier) {
    return ShopPage("商会", "港", {{earlier ? "前回" : "今回", id}}) +
           std::string(earlier ? 0 : 300, ' ');
}

TEST(PortalFaultMatrix, JobKeepsGoingAndKeepsWhatItCouldNotReplace) {
    const struct {
        const char* rule;  // empty: every request to a refused port
        Aim aim;
        int errorCode;  // of each error box; 0: none
        Kept kept;
        JobEnd end = JobEnd::Ok;
    } cases[] = {{"", Aim::Every, 7, Kept::Earlier, JobEnd::NothingFetched},
                 {kRejected, Aim::Every, 0, Kept::Earlier, JobEnd::NoCompany},
                 {"cut", Aim::City, 18, Kept::Earlier},
                 {"stall=4", Aim::Shop, 28, Kept::Earlier},
                 {"reset", Aim::Shop, 56, Kept::Earlier},
                 {"slow=100", Aim::Shop, 0, Kept::Served},
                 {"status=403", Aim::City, 0, Kept::Earlier},
                 {"status=500", Aim::Shop, 0, Kept::Earlier},
                 {"empty", Aim::Shop, 0, Kept::Earlier},
                 {"login", Aim::City, 0, Kept::Nothing},
                 {"login", Aim::Shop, 0, Kept::Nothing},
                 {"huge=4", Aim::City, 0, Kept::Served}};
    for (const auto& fault : cases) {
        const std::string target = fault.aim == Aim::City
                                       ? "Tid=" + std::to_string(CityTable()[kFaultyCity].id)
                                       : "Cid=" + std::to_string(kFaultyCompany);
        SCOPED_TRACE(std::string(fault.rule) + ":" + target);
        const TempFolder folder;
        std::map<int, std::string> cityPages, shopPages;
        for (int i = 0; i < kCityCount; ++i) {
            folder.Write(CityPageFileName(CityTable()[i].id), CityPageOf(i, true));
            cityPages[CityTable()[i].id] = CityPageOf(i, false);
            for (int id = 10 * (i + 1) + 1; id <= 10 * (i + 1) + 3; ++id) {
                folder.Write(ShopPageFileName(id), ShopPageOf(id, true));
                shopPages[id] = ShopPageOf(id, false);
            }
        }
        const auto earlier = FolderBytes(folder.Path());
        portal::PortalSettings settings;
        std::string error;
        if (fault.rule == std::string_view(kRejected))
            settings.account = portal::Credentials{"me", "right"};
        else if (*fault.rule)
            settings.faults.push_back(*portal::ParseFaultRule(fault.rule + (":" + target), error));
        portal::PortalServer server(
            std::make_shared<portal::MemoryPageSource>(cityPages, shopPages), settings);
        ASSERT_TRUE(server.Start(0));

        RecordingNetworkErrors errors;
        RecordingReporter reporter;
        std::atomic<bool> cancel{false};
        const auto fetcher = StartHttpFetcher({}, errors, cancel, kTimeout).fetcher;
        DownloadJob job(
            folder.Path().string(),
            {fetcher.get(), *fault.rule ? server.HostPort() : "127.0.0.1:1", "me", "pw"}, reporter,
            cancel);
        auto run = std::async(std::launch::async, [&job] { return job.Run(); });
        if (run.wait_for(kTimeout * 6) != std::future_status::ready) cancel = true;
        const JobResult result = run.get();
        ASSERT_EQ(result.end, fault.end);
        EXPECT_FALSE(std::filesystem::exists(folder.Path().string() + ".staging"));
        if (fault.end != JobEnd::Ok) {
            EXPECT_TRUE(FolderBytes(folder.Path()) == earlier) << "a saved page changed";
            EXPECT_EQ(result.lastFailure.starts_with("ErrorCode = 7 : "), fault.errorCode == 7);
            continue;
        }

        // The products tell which page of each company and city the job read.
        const auto kept = [&](Aim pass, bool faulty) {
            return fault.aim == Aim::Every || (fault.aim == pass && faulty) ? fault.kept
                                                                            : Kept::Served;
        };
        std::vector<std::pair<std::string, int>> products;
        size_t listed = 0;
        for (int i = 0; i < kCityCount; ++i) {
            const Kept city = kept(Aim::City, i == kFaultyCity);
            if (city == Kept::Nothing) continue;
            for (int id : {10 * (i + 1) + 1, 10 * (i + 1) + (city == Kept::Earlier ? 3 : 2)}) {
                ++listed;
                const Kept shop = kept(Aim::Shop, id == kFaultyCompany);
                if (shop != Kept::Nothing)
                    products.emplace_back(shop == Kept::Earlier ? "前回" : "今回", id);
            }
        }
        EXPECT_EQ(NamesAndPrices(job.Products()), products);
        EXPECT_EQ(FolderEntries(folder.Path()).size(), earlier.size()) << "a temporary file left";
        const auto lines = reporter.Lines();
        EXPECT_EQ(
            std::count(lines.begin(), lines.end(), "detail エラー！商会情報の取得に失敗しました"),
            fault.kept == Kept::Nothing && fault.aim == Aim::Shop ? 1 : 0);
        const size_t boxes = fault.errorCode == 0      ? 0
                             : fault.aim == Aim::Every ? kCityCount + listed
                                                       : 1;
        EXPECT_EQ(errors.texts.size(), boxes);
        const std::string prefix = "ErrorCode = " + std::to_string(fault.errorCode) + " : ";
        for (const std::string& text : errors.texts)
            EXPECT_TRUE(text.starts_with(prefix) && text.size() > prefix.size()) << text;

        // The saved folder parsed again without the network gives the same table.
        DownloadJob parseOnly(folder.Path().string(), {}, reporter, cancel);
        ASSERT_EQ(parseOnly.Run().end, JobEnd::Ok);
        EXPECT_TRUE(job.Companies() == parseOnly.Companies() &&
                    job.Products() == parseOnly.Products());
    }
}

}  // namespace
