#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <set>

#include "PageGenerator.h"
#include "acquire/DownloadJob.h"
#include "acquire/JobReporter.h"
#include "history/PriceHistory.h"
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

// The changes table says what the program's price history finds between two days.
TEST(PageGenerator, ALaterDayChangesWhatItsChangesTableSays) {
    const TempFolder work;
    HistoryOpening opening = PriceHistory::Open(work.File("History.sqlite"));
    ASSERT_TRUE(
        opening.history->Record(ParsedProducts(GeneratePortal(3, 60, 20), work.File("0")), "0"));
    // One line per change: product company city kind old new.
    const auto line = [](const std::string& offer, const char* kind, int old, int now) {
        return offer + " " + kind + " " + (old ? std::to_string(old) : "") + " " +
               (now ? std::to_string(now) : "");
    };
    for (int day = 1; day <= 2; ++day) {
        SCOPED_TRACE(day);
        const GeneratedPortal portal = GeneratePortal(3, 60, 20, day);
        const std::string table = ChangesTable(portal);
        EXPECT_TRUE(table == ChangesTable(GeneratePortal(3, 60, 20, day)));
        EXPECT_TRUE(AllCompanies(portal) == AllCompanies(GeneratePortal(3, 60, 20)));
        std::vector<ProductRecord> after = ParsedProducts(portal, work.File(std::to_string(day)));
        EXPECT_TRUE(after == AllProducts(portal));
        ASSERT_TRUE(opening.history->Record(after, std::to_string(day)));
        ASSERT_TRUE(opening.history->MarkChanges(after));
        const char* const words[] = {"gone", "new", "cheaper", "dearer"};  // by OfferChange
        std::multiset<std::string> found, told;
        for (const ProductRecord& r : after)
            if (r.change != OfferChange::Unchanged)
                found.insert(line(r.productName + " " + r.companyName + " " + r.cityName,
                                  words[static_cast<int>(r.change)],
                                  r.change == OfferChange::New ? 0 : r.previousPrice, r.price));
        for (const ProductRecord& r : opening.history->GoneSincePrevious())
            found.insert(
                line(r.productName + " " + r.companyName + " " + r.cityName, "gone", r.price, 0));
        std::set<ChangeKind> kinds;
        for (const GeneratedChange& c : portal.changes) {
            kinds.insert(c.kind);
            told.insert(line(c.productName + " " + c.companyName + " " + c.cityName,
                             ChangeKindName(c.kind), c.oldPrice, c.newPrice));
        }
        EXPECT_EQ(kinds.size(), 4u);
        EXPECT_TRUE(told == found);
        EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), std::ssize(told) + 1);
    }
}

}  // namespace
