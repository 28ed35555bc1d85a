#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "acquire/DownloadJob.h"
#include "acquire/PageFetcher.h"
#include "acquire/PagePaths.h"
#include "platform/Files.h"
#include "support/HandMadePages.h"
#include "support/RecordTexts.h"
#include "support/RecordingReporter.h"
#include "support/TestFiles.h"

namespace {

// Serves pages from memory by query, records every request and cancels when the
// job shows a status line starting with `cancelAt`.
class FakePortal : public PageFetcher, public RecordingReporter {
public:
    std::uint32_t FetchToFile(const std::string& host, const std::string& objectPath,
                              const std::string& localPath) override {
        requests.push_back(host + "/" + objectPath);
        for (const auto& [query, page] : pages)
            if (objectPath.starts_with("ovl/web/d?Act=company_search_sub_" + query + "&") &&
                platform::WriteFileAtomically(localPath, page))
                return static_cast<std::uint32_t>(page.size());
        return 0;
    }
    std::string LastFailure() const override { return "HTTP 404"; }
    void SetStatusLine(const std::string& text) override {
        RecordingReporter::SetStatusLine(text);
        if (!cancelAt.empty() && ShiftJisToUtf8(text).starts_with(cancelAt)) cancel = true;
    }

    std::map<std::string, std::string> pages;  // by "comlist&Tid=N" or "display_dt&Cid=N"
    std::vector<std::string> requests;
    std::string cancelAt;
    std::atomic<bool> cancel{false};
};

class DownloadJobTest : public ::testing::Test {
protected:
    DownloadJob Job() {
        return DownloadJob(m_folder.Path().string(), {&m_portal, "portal.test", "me", "p&w"},
                           m_portal, m_portal.cancel);
    }

    TempFolder m_folder;
    FakePortal m_portal;
};

TEST_F(DownloadJobTest, FetchesEachCityAndEachCompanyOnceThenParsesInCompanyOrder) {
    m_portal.pages["comlist&Tid=5"] = CityPage({{1234, "蘭商会"}, {8, "港商会"}, {1234, "蘭商会"}});
    m_portal.pages["comlist&Tid=70"] = CityPage({{8, "港商会"}});
    m_portal.pages["display_dt&Cid=1234"] = ShopPage("蘭商会", "アムステルダム", {{"チーズ", 50}});
    m_portal.pages["display_dt&Cid=8"] =
        ShopPage("港商会", "アムステルダム", {{"ニシン", 10}, {"塩", 2}});
    // Of the 11 cities the portal fails, only Seville's page was saved before.
    m_folder.Write(CityPageFileName(1), CityPage({}));
    DownloadJob job = Job();
    EXPECT_EQ(JobThreadProc(job), 1u);
    EXPECT_EQ(NamesAndPrices(job.Products()), (std::vector<std::pair<std::string, int>>{
                                                  {"チーズ", 50}, {"ニシン", 10}, {"塩", 2}}));
    EXPECT_EQ(job.Companies().size(), 4u) << "the company list keeps every listing";
    ASSERT_EQ(m_portal.requests.size(), 13u + 2u);
    EXPECT_EQ(m_portal.requests[0],
              "portal.test/ovl/web/d?Act=company_search_sub_comlist&Tid=1&hvid=me&pass=p%26w");
    EXPECT_EQ(
        m_portal.requests[13],
        "portal.test/ovl/web/d?Act=company_search_sub_display_dt&Cid=1234&hvid=me&pass=p%26w");

    const std::vector<std::string> lines = m_portal.Lines();
    EXPECT_EQ(std::vector(lines.begin(), lines.begin() + 5),
              (std::vector<std::string>{"status 商会数合計を調べています...", "pos 0", "range 13",
                                        "detail 取得中の都市：セビリア", "pos 1"}));
    const auto shopPass = std::find(lines.begin(), lines.end(), "range 2");
    EXPECT_EQ(
        std::vector(shopPass, lines.end()),
        (std::vector<std::string>{
            "range 2", "pos 0", "status 商品リストをダウンロード中です...\t取得済：1 / 合計：2",
            "detail ID：1234 商会名：蘭商会", "pos 1",
            "status 商品リストをダウンロード中です...\t取得済：2 / 合計：2",
            "detail ID：008 商会名：港商会", "pos 2", "status 商品リストを解析中です...", "pos 0",
            "detail アムステルダム : 蘭商会", "pos 1", "detail アムステルダム : 港商会", "pos 2",
            "finished OK, 1 kept"}));
}

TEST_F(DownloadJobTest, CancelOrNoCompanyEndsTheJobWithCancel) {
    m_portal.pages["comlist&Tid=1"] = CityPage({{1, "甲"}, {2, "乙"}});
    // The shop pass fetches the page whose status line it has just shown.
    for (const auto& [trigger, requests] : {std::pair{"商会数合計", 0u},
                                            {"商品リストをダウンロード中", 14u},
                                            {"商品リストを解析中", 15u}}) {
        m_portal.cancel = false;
        m_portal.requests.clear();
        m_portal.cancelAt = trigger;
        DownloadJob job = Job();
        EXPECT_EQ(JobThreadProc(job), 0u) << trigger;
        EXPECT_TRUE(job.Products().empty()) << trigger;
        EXPECT_EQ(m_portal.Lines().back(), "finished Cancel");
        EXPECT_EQ(m_portal.requests.size(), requests) << trigger;
    }
    // No company listed, here from a login page and a link cut before its id ends.
    m_portal.cancelAt.clear();
    m_portal.cancel = false;
    m_portal.pages["comlist&Tid=1"] = "<html>ログインしてください。</html>";
    m_portal.pages["comlist&Tid=2"] = "<a href=\"javascript:Click_Sub( 12";
    DownloadJob job = Job();
    EXPECT_EQ(JobThreadProc(job), 0u);
    EXPECT_TRUE(job.Companies().empty());
    EXPECT_EQ(m_portal.Lines().back(), "finished NoCompany");
}

}  // namespace
