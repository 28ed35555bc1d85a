#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <set>

#include "PageGenerator.h"
#include "acquire/DownloadJob.h"
#include "acquire/JobReporter.h"
#include "support/TestFiles.h"

namespace {

TEST(PageGenerator, TheSampleIsItsSeedsFolderAndTruth) {
    const TempFolder work;
    const GeneratedPortal portal = GeneratePortal(20240601, 40, 30);  // scripts/make-sample.sh
    ASSERT_TRUE(WritePortal(portal, work.File("DownloadFiles")));
    EXPECT_TRUE(FolderBytes(work.Path() / "DownloadFiles") ==
                FolderBytes(VERADUNE_SAMPLE_DIR "/DownloadFiles"));
    EXPECT_TRUE(TruthTable(portal) == ReadBytes(VERADUNE_SAMPLE_DIR "/truth.tsv"));
    EXPECT_NE(TruthTable(GeneratePortal(20240602, 40, 30)), TruthTable(portal));
}

// What a parse finds in the pages of `portal` written into `folder`, which exists
// already, as a working folder's does after its first download.
std::vector<ProductRecord> ParsedProducts(const GeneratedPortal& portal, const std::string& folder,
                                          JobEnd end = JobEnd::Ok) {
    std::filesystem::create_directory(folder);
    EXPECT_TRUE(WritePortal(portal, folder));
    SilentJobReporter reporter;
    const std::atomic<bool> neverCancelled{false};
    DownloadJob job(folder, DownloadSource{}, reporter, neverCancelled);
    EXPECT_EQ(job.Run().end, end);
    return std::move(job.Products());
}

TEST(PageGenerator, AWrittenFolderParsesToItsTruth) {
    for (const auto& [shops, products] : {std::pair{13, 5}, {60, 12}, {0, 30}, {4, 0}}) {
        SCOPED_TRACE(testing::Message() << shops << " shops of " << products);
        const GeneratedPortal portal = GeneratePortal(shops, shops, products);
        const TempFolder work;
        EXPECT_TRUE(ParsedProducts(portal, work.File("DownloadFiles"),
                                   shops > 0 ? JobEnd::Ok : JobEnd::NoCompany) ==
                    AllProducts(portal));
    }
}

// The changes two parses show, as "product company city kind old new", for the
// products a shop sells at most once on either day.
std::multiset<std::string> ParsedChanges(const std::vector<ProductRecord>& before,
                                         const std::vector<ProductRecord>& after) {
    std::map<std::string, std::pair<std::vector<int>, std::vector<int>>> prices;
    const auto key = [](const ProductRecord& r) {
        return r.productName + " " + r.companyName + " " + r.cityName;
    };
    for (const ProductRecord& r : before) prices[key(r)].first.push_back(r.price);
    for (const ProductRecord& r : after) prices[key(r)].second.push_back(r.price);
    std::multiset<std::string> changes;
    for (const auto& [offer, days] : prices) {
        const auto& [old, now] = days;
        if (old.size() > 1 || now.size() > 1) {
            EXPECT_EQ(old, now) << "a product sold twice keeps its prices";
        } else if (old.empty() || now.empty()) {
            changes.insert(offer + (old.empty() ? " new  " + std::to_string(now[0])
                                                : " gone " + std::to_string(old[0]) + " "));
        } else if (old[0] != now[0]) {
            changes.insert(offer + (now[0] < old[0] ? " cheaper " : " dearer ") +
                           std::to_string(old[0]) + " " + std::to_string(now[0]));
        }
    }
    return changes;
}

TEST(PageGenerator, ALaterDayChangesWhatItsChangesTableSays) {
    const TempFolder work;
    std::vector<ProductRecord> before =
        ParsedProducts(GeneratePortal(3, 60, 20), work.File("day0"));
    for (int day = 1; day <= 2; ++day) {
        SCOPED_TRACE(day);
        const GeneratedPortal portal = GeneratePortal(3, 60, 20, day);
        const std::string table = ChangesTable(portal);
        EXPECT_TRUE(table == ChangesTable(GeneratePortal(3, 60, 20, day)));
        EXPECT_TRUE(AllCompanies(portal) == AllCompanies(GeneratePortal(3, 60, 20)));
        std::vector<ProductRecord> after = ParsedProducts(portal, work.File(std::to_string(day)));
        EXPECT_TRUE(after == AllProducts(portal));
        std::multiset<std::string> told;
        std::set<ChangeKind> kinds;
        for (const GeneratedChange& c : portal.changes) {
            kinds.insert(c.kind);
            told.insert(c.productName + " " + c.companyName + " " + c.cityName + " " +
                        ChangeKindName(c.kind) + " " +
                        (c.kind == ChangeKind::New ? "" : std::to_string(c.oldPrice)) + " " +
                        (c.kind == ChangeKind::Gone ? "" : std::to_string(c.newPrice)));
        }
        EXPECT_EQ(kinds.size(), 4u);
        EXPECT_TRUE(told == ParsedChanges(before, after));
        EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), std::ssize(told) + 1);
        before = std::move(after);
    }
}

}  // namespace
