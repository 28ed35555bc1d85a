#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>

#include "acquire/CityPageParser.h"
#include "acquire/PagePaths.h"
#include "support/ShiftJisLiteral.h"

namespace {

std::string Link(const std::string& id, const std::string& name) {
    return "<a href=\"javascript:Click_Sub( " + id + " );\">" + name + "</a>";
}

TEST(ParseCityText, OneEntryPerLink) {
    const struct {
        std::string page;
        std::vector<std::pair<int, std::string>> entries;
    } cases[] = {
        {Link("101", "碧き帆") + Link("7", "ソ表ポ交易"), {{101, "碧き帆"}, {7, "ソ表ポ交易"}}},
        {Link("\n 12\t", "  前に空白 "), {{12, "  前に空白 "}}},
        {Link("abc", "名"), {{0, "名"}}},
        {Link("-3", "負"), {{-3, "負"}}},
        {Link("5", "重複") + Link("5", "重複"), {{5, "重複"}, {5, "重複"}}},
        // The link marker's closing space doubles as the id marker's first byte.
        {"javascript:Click_Sub( );\">空<", {{0, "空"}}},
        {"javascript:Click_Sub( 9 );\">終わり", {{9, ""}}},
        // A link without its id marker takes the next link's, and that link is used up.
        {"javascript:Click_Sub( 8 x" + Link("9", "次") + Link("10", "後"), {{8, "次"}, {10, "後"}}},
        {Link("1", "一") + "javascript:Click_Sub( 2 );", {{1, "一"}}},
        {"<p>no links</p>", {}},
    };
    for (const auto& c : cases) {
        std::vector<CompanyEntry> companies;
        ParseCityText(S(c.page), S("セビリア"), companies);
        std::vector<CompanyEntry> expected;
        for (const auto& [id, name] : c.entries) expected.push_back({id, S(name), S("セビリア")});
        EXPECT_EQ(companies, expected) << c.page;
    }
}

TEST(ParseCityPage, CountsEveryCitySoFar) {
    std::vector<CompanyEntry> companies(3);
    EXPECT_EQ(
        ParseCityPage(VERADUNE_TEST_DATA_DIR "/pages/CityNo001.html", S("セビリア"), companies), 5);
    ASSERT_EQ(companies.size(), 5u);
    EXPECT_EQ(companies[3], (CompanyEntry{101, S("碧き帆の商会"), S("セビリア")}));
    EXPECT_EQ(companies[4].companyName, S(" ソ表ポ交易"));

    const std::filesystem::path folder = ::testing::TempDir();
    std::ofstream(folder / "CityNoLinks.html") << "<html></html>";
    std::ofstream(folder / "CityEmpty.html");
    EXPECT_EQ(ParseCityPage((folder / "CityNoLinks.html").string(), S("ロンドン"), companies), 5);
    EXPECT_EQ(ParseCityPage((folder / "CityEmpty.html").string(), S("ロンドン"), companies), 0);
    EXPECT_EQ(ParseCityPage((folder / "NoSuchCity.html").string(), S("ロンドン"), companies), 0);
    EXPECT_EQ(companies.size(), 5u);
}

TEST(PagePaths, NamesPagesByNumber) {
    EXPECT_EQ(CityPageFileName(6), "CityNo006.html");
    EXPECT_EQ(CityPageFileName(70), "CityNo070.html");
    EXPECT_EQ(ShopPageFileName(12345), "ShopNo12345.html");
    EXPECT_EQ(ShopPageFileName(-3), "ShopNo-03.html");
    EXPECT_EQ(ShopPageFileName(INT_MIN), "ShopNo-2147483648.html");
}

}  // namespace
