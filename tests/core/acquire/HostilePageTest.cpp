// Saved pages that are empty, cut, no text or some other page: the parsers read
// what the page holds and never past its end.
#include <gtest/gtest.h>

#include "acquire/CityPageParser.h"
#include "acquire/ShopPageParser.h"
#include "support/HandMadePages.h"
#include "support/RecordTexts.h"
#include "support/ShiftJisLiteral.h"
#include "support/TestFiles.h"

namespace {

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
    // What the shop parser reports, then the products; and the companies found.
    const struct {
        const char* what;
        std::string bytes;
        std::vector<std::string> shop;
        size_t companies;
    } cases[] = {
        {"a single NUL", std::string(1, '\0'), {}, 0},
        {"a NUL before a whole page", std::string(1, '\0') + both, {}, 0},
        {"a NUL inside: the text before it is read",
         both.substr(0, both.find("二")) + '\0' + both.substr(both.find("二")),
         {"リスボン : 碧き帆", "一"},
         0},
        {"empty, after a page", "", {}, 0},
        {"bytes never UTF-8", std::string(5000, '\x80') + "\xA0\xFE\xFF", {kHeaderError}, 0},
        {"a login page", login, {kHeaderError}, 0},
        {"a server error", "<h1>500 Internal Server Error</h1><p>商会名：</p>", {kHeaderError}, 0},
        {"a city page", CityPage({{4, "丁"}}), {kHeaderError}, 1},
        {"a shop page in Shift-JIS", S(ShopPage("碧き帆", "リスボン", {})), {kHeaderError}, 0}};
    const TempFolder folder;
    std::string buffer;  // kept from case to case, as the parse workers keep theirs
    for (const auto& c : cases) {
        const std::string path = folder.Write("Page.html", c.bytes);
        std::vector<ProductRecord> products;
        std::vector<std::string> shop;
        ParseShopPage(path, buffer, products,
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

}  // namespace
