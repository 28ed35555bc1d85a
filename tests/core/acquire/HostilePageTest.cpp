// Saved pages that are empty, cut, no text, full of false markers or some other
// page: the parsers read what the page holds and never past its end.
#include <gtest/gtest.h>

#include "PageGenerator.h"
#include "acquire/CityPageParser.h"
#include "acquire/ShopPageParser.h"
#include "support/HandMadePages.h"
#include "support/RecordTexts.h"
#include "support/ShiftJisLiteral.h"
#include "support/TestFiles.h"

namespace {

const std::string kHeaderError = "エラー！商会情報の取得に失敗しました";

// Product names as UTF-8, or "header error" first when the header was not read.
std::vector<std::string> ParseShop(std::string_view sjis) {
    std::vector<ProductRecord> products;
    std::vector<std::string> rows;
    if (!ParseShopText(sjis, products, nullptr)) rows.push_back("header error");
    for (const std::string& name : Utf8Names(products)) rows.push_back(name);
    return rows;
}

TEST(HostilePage, FilesThatAreNoPageGiveNothing) {
    const std::string both =
        ShopPage("碧き帆", "リスボン", {{"一", 1}, {"二", 2}}) + CityPage({{1, "甲"}, {2, "乙"}});
    const std::string login =
        "<form action=\"./login\">ログインしてください。ID：<input name=\"id\"></form>";
    const GeneratedPortal portal = GeneratePortal(11, 13, 5);
    // What the shop parser reports, then the products; and the companies found.
    const struct {
        const char* what;
        std::string bytes;
        std::vector<std::string> shop;
        size_t companies;
    } cases[] = {
        {"empty", "", {}, 0},
        {"a single NUL", std::string(1, '\0'), {}, 0},
        {"a NUL before a whole page", std::string(1, '\0') + both, {}, 0},
        {"a NUL inside: the text before it is read",
         both.substr(0, both.find("二")) + '\0' + both.substr(both.find("二")),
         {"リスボン : 碧き帆", "一"},
         0},
        {"bytes never UTF-8", std::string(5000, '\x80') + "\xA0\xFE\xFF", {kHeaderError}, 0},
        {"a login page", login, {kHeaderError}, 0},
        {"a server error", "<h1>500 Internal Server Error</h1><p>商会名：</p>", {kHeaderError}, 0},
        {"a city page", CityPage({{4, "丁"}}), {kHeaderError}, 1},
        {"a shop page in Shift-JIS", S(portal.shops[0].pageUtf8), {kHeaderError}, 0}};
    const TempFolder folder;
    for (const auto& c : cases) {
        const std::string path = folder.Write("Page.html", c.bytes);
        std::vector<ProductRecord> products;
        std::vector<std::string> shop;
        ParseShopPage(path, products,
                      [&](const std::string& t) { shop.push_back(ShiftJisToUtf8(t)); });
        for (const std::string& name : Utf8Names(products)) shop.push_back(name);
        EXPECT_EQ(shop, c.shop) << c.what;
        std::vector<CompanyEntry> companies;
        ParseCityPage(path, S("セビリア"), companies);
        EXPECT_EQ(companies.size(), c.companies) << c.what;
    }
}

// Nothing is read past the cut, rows before it stay, and a row is kept only
// once its price cell is closed.
TEST(HostilePage, PagesCutAtEveryLength) {
    const std::string shop = S(ShopPage(" ソ表能 ", "ﾘｽﾎﾞﾝ", {{"胡椒", 35}, {"♂能の剣♀", 52000}}));
    const size_t headerEnd = shop.find(S("ﾘｽﾎﾞﾝ")) + S("ﾘｽﾎﾞﾝ").size();
    const size_t firstPrice = shop.find("35</td>") + 2;
    const size_t secondPrice = shop.find("52000</td>") + 5;
    for (size_t length = 1; length <= shop.size(); ++length) {
        std::vector<std::string> expected = {"胡椒", "能の剣"};
        expected.resize((length > firstPrice) + (length > secondPrice));
        if (length <= headerEnd) expected.insert(expected.begin(), "header error");
        // A heap block of exactly the cut's size: AddressSanitizer sees a read past
        // its end, which a std::string's terminator would hide.
        const std::vector<char> cut(shop.begin(), shop.begin() + static_cast<long>(length));
        ASSERT_EQ(ParseShop({cut.data(), cut.size()}), expected) << length;
    }
}

// Characters whose second byte starts a marker ("ワ､会名：" holds the bytes of
// "商会名：" from its second byte on): the scan passes them by.
TEST(HostilePage, MarkersNeverStartOnASecondByte) {
    const std::string header = "<p>商会名：碧き帆</p><p>拠点街：リスボン</p>";
    const auto row = [](const std::string& name, const std::string& attributes) {
        return "<img src=\"./img/itemcg/trade_01.png\" ><div style=\"clear:right;\">" + name +
               "</div>" + attributes +
               "<td class=\"chara_rlin\">1</td><td class=\"chara_rlin\">2</td>";
    };
    const struct {
        const char* what;
        std::string page;
        std::vector<std::string> rows;  // name category attack; empty: no header found
    } cases[] = {
        {"company label", "<p>ワ､会名：偽</p>" + header + row("麦", ""), {"麦 交易品 -1"}},
        {"home town label",
         "<p>商会名：碧き帆</p><p>ル駐_街：偽</p><p>拠点街：リスボン</p>" + row("麦", ""),
         {"麦 交易品 -1"}},
        {"only false header labels", "<p>ワ､会名：偽</p><p>ル駐_街：偽</p>" + row("麦", ""), {}},
        {"figure and sub-category labels",
         header + row("酒", "ロU撃力：91<br>ヵｪ類：偽<br>攻撃力：12<"),
         {"酒 交易品 12"}},
        {"gender mark across two characters", header + row("ａ貫ａ院", ""), {"ａ貫ａ院 交易品 -1"}},
        {"second bytes 5C and 7C",
         header + row(" ソ表能ﾎﾟｰｼｮﾝ｜ ", "分類：能ﾔｸ表ソ<"),
         {"ソ表能ﾎﾟｰｼｮﾝ｜ 能ﾔｸ表ソ -1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<ProductRecord> products;
        EXPECT_EQ(ParseShopText(S(c.page), products, nullptr), !c.rows.empty());
        std::vector<std::string> rows;
        for (const ProductRecord& p : products)
            rows.push_back(ShiftJisToUtf8(p.productName) + " " + ShiftJisToUtf8(p.category) + " " +
                           std::to_string(p.attack));
        EXPECT_EQ(rows, c.rows);
    }
    // "ニ" is 83 6A, whose second byte is the "j" of the link marker.
    std::vector<CompanyEntry> companies;
    ParseCityText(S("<a href=\"ニavascript:Click_Sub( 5 );\">偽</a>" + CityPage({{7, "甲"}})), "",
                  companies);
    EXPECT_EQ(companies, (std::vector<CompanyEntry>{{7, S("甲"), ""}}));
}

}  // namespace
