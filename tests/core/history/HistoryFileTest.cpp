#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "history/PriceHistory.h"
#include "support/FileSizeLimit.h"
#include "support/ProductBuilders.h"
#include "support/TestFiles.h"

namespace {

// The n-th download of the same 200 shops, each asking n for its wine.
std::vector<ProductRecord> WineDownload(int n) {
    std::vector<ProductRecord> offers;
    for (int shop = 0; shop < 200; ++shop)
        offers.push_back(Offer("shop" + std::to_string(shop), "ワイン", n, "セビリア", n));
    return offers;
}

std::string Time(int n) {
    return "2024/06/01 12:" + std::to_string(100 + n / 60).substr(1) + ":" +
           std::to_string(100 + n % 60).substr(1);
}

// How many downloads are recorded; each must be the n-th, whole.
int WholeDownloads(const PriceHistory& history) {
    CityFlags all;
    all.fill(true);
    const std::vector<HistoryPoint> points = history.ProductHistory(S("ワイン"), all);
    for (int n = 1; n <= std::ssize(points); ++n)
        EXPECT_EQ(points[n - 1], (HistoryPoint{Time(n), n, n, 200LL * n, 200})) << n;
    return static_cast<int>(points.size());
}

void MakeForeignDatabase(const std::string& path) {
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('mine')", nullptr,
                 nullptr, nullptr);
    sqlite3_close(db);
}

// Everything after the first page, which holds the header.
void OverwritePages(const std::string& path) {
    std::string bytes = ReadBytes(path);
    std::fill(bytes.begin() + 4096, bytes.end(), '\xA5');
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

TEST(HistoryFileTest, UnusableFilesAreSetAsideForAFreshStore) {
    struct Case {
        const char* name;
        void (*spoil)(const std::string& path);
        bool foreign;
    };
    const std::vector<Case> cases = {
        {"text", [](const std::string& p) { std::ofstream(p) << std::string(3000, 'x'); }, false},
        {"pages overwritten", OverwritePages, false},
        {"cut short", [](const std::string& p) { std::filesystem::resize_file(p, 6000); }, false},
        {"another program's database", MakeForeignDatabase, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string path = folder.File("History.sqlite");
        {
            HistoryOpening opening = PriceHistory::Open(path);
            for (int n = 1; n <= 3; ++n) opening.history->Record(WineDownload(n), Time(n));
        }
        c.spoil(path);
        const std::string spoilt = ReadBytes(path);

        HistoryOpening opening = PriceHistory::Open(path);
        ASSERT_TRUE(opening.history) << opening.failureReason;
        EXPECT_TRUE(opening.history->IsEmpty());
        EXPECT_EQ(opening.setAsideWasForeign, c.foreign);
        EXPECT_EQ(opening.setAsidePath.rfind(path + ".damaged-", 0), 0u) << opening.setAsidePath;
        EXPECT_TRUE(ReadBytes(opening.setAsidePath) == spoilt);
        EXPECT_TRUE(opening.history->Record(WineDownload(1), Time(1)));
    }
}

TEST(HistoryFileTest, AFailedRecordLeavesTheEarlierOnesAndTheStoreUsable) {
    TempFolder folder;
    const std::string path = folder.File("History.sqlite");
    {
        HistoryOpening opening = PriceHistory::Open(path);
        ASSERT_TRUE(opening.history->IsEmpty());
        for (int n = 1; n <= 2; ++n) ASSERT_TRUE(opening.history->Record(WineDownload(n), Time(n)));
    }
    HistoryOpening opening = PriceHistory::Open(path);
    ASSERT_TRUE(opening.history) << opening.failureReason;
    ASSERT_TRUE(opening.setAsidePath.empty());
    std::string reason;
    {
        // A download of many new offers needs more room than the disk has left.
        const FileSizeLimit full(std::filesystem::file_size(path) + 4096);
        EXPECT_FALSE(opening.history->Record(RandomProducts(5000, 2), Time(3), &reason));
    }
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(WholeDownloads(*opening.history), 2);
    EXPECT_TRUE(opening.history->Record(WineDownload(3), Time(3)));
    EXPECT_EQ(WholeDownloads(*opening.history), 3);
    opening.history.reset();
    EXPECT_EQ(WholeDownloads(*PriceHistory::Open(path).history), 3);
}

TEST(HistoryFileTest, AKillDuringARecordCostsOnlyThatRecord) {
    TempFolder folder;
    const std::string path = folder.File("History.sqlite");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        HistoryOpening opening = PriceHistory::Open(path);
        for (int n = 1; opening.history && opening.history->Record(WineDownload(n), Time(n)); ++n) {
        }
        ::_exit(1);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the recording child ended on its own";
    HistoryOpening opening = PriceHistory::Open(path);
    ASSERT_TRUE(opening.history) << opening.failureReason;
    EXPECT_TRUE(opening.setAsidePath.empty());
    EXPECT_GT(WholeDownloads(*opening.history), 1);
}

}  // namespace
