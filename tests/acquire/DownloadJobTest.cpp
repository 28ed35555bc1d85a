#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "acquire/DownloadJob.h"
#include "acquire/PageFetcher.h"
#include "acquire/RecordingReporter.h"
#include "platform/Files.h"
#include "shopdata/TextConversion.h"
#include "support/HandMadePages.h"
#include "support/RecordTexts.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

// Serves pages from memory, as a portal would, and records every request.
class FakeFetcher : public PageFetcher {
public:
    std::map<std::string, std::string> pagesByQuery;
    std::vector<std::string> requests;

    std::uint32_t FetchToFile(const std::string& host, const std::string& objectPath,
                              const std::string& localPath) override {
        requests.push_back(host + "/" + objectPath);
        for (const auto& [query, page] : pagesByQuery)
            if (objectPath.rfind(query + "&", 0) == 0 &&
                platform::WriteFileAtomically(localPath, page))
                return static_cast<std::uint32_t>(page.size());
        return 0;
    }
};

class DownloadJobTest : public ::testing::Test {
protected:
    void Save(const std::string& name, const std::string& contents) {
        ASSERT_TRUE(platform::WriteFileAtomically(m_folder.File(name), contents));
    }
    std::string Folder() const { return m_folder.Path().string(); }

    TempFolder m_folder;
    RecordingReporter m_reporter;
    std::atomic<bool> m_cancel{false};
};

TEST_F(DownloadJobTest, ParsesSavedPagesInCompanyOrderWithoutTheNetwork) {
    Save("CityNo001.html", CityPage({{12, "東商会"}, {7, "西商会"}}));
    Save("CityNo070.html", CityPage({{1234, "南商会"}}));
    Save("ShopNo012.html", ShopPage("東商会", "セビリア", {{"小麦", 100}, {"塩", 20}}));
    Save("ShopNo007.html", ShopPage("西商会", "セビリア", {{"砂糖", 300}}));
    Save("ShopNo1234.html", ShopPage("南商会", "カリカット", {{"胡椒", 900}}));

    DownloadJob job(Folder(), DownloadSource{}, m_reporter, m_cancel);
    EXPECT_EQ(JobThreadProc(job), 1u);
    EXPECT_EQ(Utf8Names(job.Products()), (std::vector<std::string>{"小麦", "塩", "砂糖", "胡椒"}));
    ASSERT_EQ(job.Companies().size(), 3u);
    EXPECT_EQ(ShiftJisToUtf8(job.Companies()[2].cityName), "カリカット");

    const std::vector<std::string> lines = m_reporter.Lines();
    const std::vector<std::string> start(lines.begin(), lines.begin() + 6);
    EXPECT_EQ(start, (std::vector<std::string>{"status 商会数合計を調べています...", "pos 0",
                                               "range 13", "detail 取得中の都市：セビリア", "pos 1",
                                               "detail 取得中の都市：リスボン"}));
    const std::vector<std::string> end(lines.end() - 10, lines.end());
    EXPECT_EQ(end, (std::vector<std::string>{
                       "range 3", "status 商品リストを解析中です...", "pos 0",
                       "detail セビリア : 東商会", "pos 1", "detail セビリア : 西商会", "pos 2",
                       "detail カリカット : 南商会", "pos 3", "finished OK"}));
}

TEST_F(DownloadJobTest, ACompanyListedTwiceIsParsedOnce) {
    Save("CityNo001.html", CityPage({{12, "東商会"}, {12, "東商会"}}));
    Save("CityNo002.html", CityPage({{12, "東商会"}, {3, "北商会"}}));
    Save("ShopNo012.html", ShopPage("東商会", "セビリア", {{"小麦", 100}}));
    Save("ShopNo003.html", ShopPage("北商会", "リスボン", {{"塩", 20}}));

    DownloadJob job(Folder(), DownloadSource{}, m_reporter, m_cancel);
    ASSERT_TRUE(job.Run());
    EXPECT_EQ(job.Companies().size(), 4u) << "the company list keeps every listing";
    EXPECT_EQ(Utf8Names(job.Products()), (std::vector<std::string>{"小麦", "塩"}));
}

TEST_F(DownloadJobTest, NoSavedCityPageEndsWithCancel) {
    DownloadJob job(Folder(), DownloadSource{}, m_reporter, m_cancel);
    EXPECT_EQ(JobThreadProc(job), 0u);
    EXPECT_TRUE(job.Products().empty());
    EXPECT_EQ(m_reporter.Lines().back(), "finished Cancel");
}

TEST_F(DownloadJobTest, AnUnreadableShopPageIsReportedAndTheJobGoesOn) {
    Save("CityNo001.html", CityPage({{1, "甲"}, {2, "乙"}}));
    Save("ShopNo002.html", ShopPage("乙", "セビリア", {{"塩", 20}}));
    DownloadJob job(Folder(), DownloadSource{}, m_reporter, m_cancel);
    ASSERT_TRUE(job.Run());
    EXPECT_EQ(Utf8Names(job.Products()), std::vector<std::string>{"塩"});
    const auto lines = m_reporter.Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "detail エラー！商会情報の取得に失敗しました"),
              lines.end());
}

TEST_F(DownloadJobTest, DownloadsEveryPageOnceWithTheAccountThenParses) {
    FakeFetcher fetcher;
    fetcher.pagesByQuery["ovl/web/d?Act=company_search_sub_comlist&Tid=5"] =
        CityPage({{1234, "蘭商会"}, {8, "港商会"}, {1234, "蘭商会"}});
    fetcher.pagesByQuery["ovl/web/d?Act=company_search_sub_display_dt&Cid=1234"] =
        ShopPage("蘭商会", "アムステルダム", {{"チーズ", 50}});
    fetcher.pagesByQuery["ovl/web/d?Act=company_search_sub_display_dt&Cid=8"] =
        ShopPage("港商会", "アムステルダム", {{"ニシン", 10}});

    DownloadJob job(Folder(), DownloadSource{&fetcher, "portal.test", "me", "pw"}, m_reporter,
                    m_cancel);
    ASSERT_TRUE(job.Run());
    EXPECT_TRUE(fs::exists(m_folder.Path() / "CityNo005.html"));
    EXPECT_TRUE(fs::exists(m_folder.Path() / "ShopNo1234.html"));
    EXPECT_TRUE(fs::exists(m_folder.Path() / "ShopNo008.html"));
    EXPECT_EQ(Utf8Names(job.Products()), (std::vector<std::string>{"チーズ", "ニシン"}));

    ASSERT_EQ(fetcher.requests.size(), 13u + 2u);
    EXPECT_EQ(fetcher.requests[0],
              "portal.test/ovl/web/d?Act=company_search_sub_comlist&Tid=1&hvid=me&pass=pw");
    EXPECT_EQ(fetcher.requests[13],
              "portal.test/ovl/web/d?Act=company_search_sub_display_dt&Cid=1234&hvid=me&pass=pw");

    const auto lines = m_reporter.Lines();
    const auto first = std::find(lines.begin(), lines.end(), "range 2");
    ASSERT_NE(first, lines.end());
    EXPECT_EQ(
        std::vector<std::string>(first, first + 5),
        (std::vector<std::string>{"range 2", "pos 0",
                                  "status 商品リストをダウンロード中です...\t取得済：1 / 合計：2",
                                  "detail ID：1234 商会名：蘭商会", "pos 1"}));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "detail ID：008 商会名：港商会"), lines.end());
}

// Cancels as soon as the job reaches a given report.
class CancellingReporter : public RecordingReporter {
public:
    CancellingReporter(std::atomic<bool>& cancel, std::string trigger)
        : m_cancel(cancel), m_trigger(std::move(trigger)) {}
    void SetStatusLine(const std::string& text) override {
        RecordingReporter::SetStatusLine(text);
        if (ShiftJisToUtf8(text).rfind(m_trigger, 0) == 0) m_cancel = true;
    }

private:
    std::atomic<bool>& m_cancel;
    std::string m_trigger;
};

TEST_F(DownloadJobTest, CancelStopsEachPassBeforeItsNextItem) {
    FakeFetcher fetcher;
    fetcher.pagesByQuery["ovl/web/d?Act=company_search_sub_comlist&Tid=1"] =
        CityPage({{1, "甲"}, {2, "乙"}});
    // The download pass fetches the page whose status line it has just shown.
    const struct {
        const char* trigger;
        size_t requests;
    } cases[] = {{"商会数合計", 0}, {"商品リストをダウンロード中", 14}, {"商品リストを解析中", 15}};
    for (const auto& c : cases) {
        m_cancel = false;
        fetcher.requests.clear();
        CancellingReporter reporter(m_cancel, c.trigger);
        DownloadJob job(Folder(), DownloadSource{&fetcher, "h", "", ""}, reporter, m_cancel);
        EXPECT_EQ(JobThreadProc(job), 0u) << c.trigger;
        EXPECT_TRUE(job.Products().empty()) << c.trigger;
        EXPECT_EQ(reporter.Lines().back(), "finished Cancel");
        EXPECT_EQ(fetcher.requests.size(), c.requests) << c.trigger;
    }
}

}  // namespace
