#include <gtest/gtest.h>

#include "acquire/CityPageParser.h"
#include "acquire/PagePaths.h"
#include "acquire/PortalQuery.h"
#include "acquire/ShopPageParser.h"
#include "support/RecordTexts.h"
#include "support/ShiftJisLiteral.h"
#include "support/TestFiles.h"

namespace {

const std::string kHeader = "<p>商会名： 碧き帆 </p><p>拠点街：\nリスボン\n</p>";

std::string Row(const std::string& image, const std::string& name, const std::string& stock,
                const std::string& price, const std::string& extra = "") {
    std::string row = "<tr><td>";
    if (!image.empty()) row += "<img src=\"./img/itemcg/" + image + ".png\" width=\"32\">";
    return row + "<div style=\"clear:right;\">" + name + "</div>" + extra +
           "</td><td class=\"chara_rlin\">" + stock + "</td><td class=\"chara_rlin\">" + price +
           "</td></tr>";
}

// What the parser reports of a UTF-8 page, and "rejected" when it rejects it, then one
// line per record: name category stock price durability attack defense.
std::vector<std::string> Parse(const std::string& page) {
    std::vector<ProductRecord> products;
    std::vector<std::string> lines;
    const auto report = [&](const std::string& text) { lines.push_back(ShiftJisToUtf8(text)); };
    if (!ParseShopText(S(page), products, report)) lines.push_back("rejected");
    for (const ProductRecord& p : products)
        lines.push_back(ShiftJisToUtf8(p.productName) + " " + ShiftJisToUtf8(p.category) + " " +
                        std::to_string(p.stock) + " " + std::to_string(p.price) + " " +
                        std::to_string(p.durability) + " " + std::to_string(p.attack) + " " +
                        std::to_string(p.defense));
    return lines;
}

TEST(ShopPageParser, ReadsEveryRowOfAPage) {
    const struct {
        const char* what;
        std::string body;
        std::vector<std::string> rows;
    } cases[] = {
        {"categories by image, prices by atoi",
         Row("furniture_03", "椅子", "4", "900") + Row("unknown_1", "謎", " 35 ", "1,200") +
             // Table order decides: "special_equipment_0" holds "equipment_0".
             Row("special_equipment_0", "甲", "1", "1") +
             Row("special_equipment_9", "乙", "1", "1") + Row("Trade_01", "丙", "1", "1"),
         {"椅子 家具 4 900 -1 -1 -1", "謎  35 1 -1 -1 -1", "甲 体装備 1 1 -1 -1 -1",
          "乙 特殊兵装 1 1 -1 -1 -1", "丙  1 1 -1 -1 -1"}},
        {"combat figures, penetration in the attack column",
         Row("equipment_4_1", "剣", "1", "2", "攻撃力：12<br>防御力：5<br>耐久度：30<") +
             Row("cannon_1", "砲", "1", "2", "攻撃力：12<br>貫通力：40<"),
         {"剣 武器・道具 1 2 30 12 5", "砲 砲種 1 2 -1 40 -1"}},
        {"trade goods take the sub-category; others keep theirs",
         Row("trade_01", "麦", "1", "2", "分類： 酒類 <br>") +
             Row("trade_01", "塩", "1", "2", "分類：食料品") +
             Row("equipment_0", "服", "1", "2", "分類：食料品<br>"),
         {"麦  酒類  1 2 -1 -1 -1", "塩 食料品 1 2 -1 -1 -1", "服 体装備 1 2 -1 -1 -1"}},
        {"a row without image takes the next image on the page",
         Row("", "無", "1", "1") + Row("cannon_02", "砲", "1", "1") +
             "<img src=\"./img/itemcg/trade_9.gif\">" + Row("furniture_1", "壺", "1", "1") +
             Row("", "末", "1", "1"),
         {"無 砲種 1 1 -1 -1 -1", "砲 砲種 1 1 -1 -1 -1", "壺 交易品 1 1 -1 -1 -1",
          "末  1 1 -1 -1 -1"}},
        {"gender marks leave the name, other characters stay",
         Row("", " ♀ リボン♂ ", "1", "1") + Row("", "ソ表ポ", "1", "1") +
             Row("", "ａ院", "1", "1") +  // 82 81 89 40 holds the bytes of "♂"
             "<p>ツlear:right;\">偽</p>" + Row("", "五", "1", "1"),
         {"リボン  1 1 -1 -1 -1", "ソ表ポ  1 1 -1 -1 -1", "ａ院  1 1 -1 -1 -1",
          "五  1 1 -1 -1 -1"}},
        // The stock search starts two bytes past the name's "<".
        {"a stock cell one byte past the name's end is lost",
         "<div style=\"clear:right;\">帆<<td class=\"chara_rlin\">5</td><td "
         "class=\"chara_rlin\">700</td><td class=\"chara_rlin\">9</td>",
         {"帆  700 9 -1 -1 -1"}},
        {"a row that cannot be closed is dropped",
         Row("", "一", "1", "1") + "<div style=\"clear:right;\">二</div><td class=\"chara_rlin\">5",
         {"一  1 1 -1 -1 -1"}},
        {"a row without cells takes the next row's, which is used up",
         "<div style=\"clear:right;\">二</div>" + Row("", "三", "7", "8") + Row("", "四", "1", "1"),
         {"二  7 8 -1 -1 -1", "四  1 1 -1 -1 -1"}},
        {"no rows", "<table></table>", {}}};
    for (const auto& c : cases) {
        std::vector<std::string> expected = {"リスボン : 碧き帆"};
        expected.insert(expected.end(), c.rows.begin(), c.rows.end());
        EXPECT_EQ(Parse(kHeader + c.body), expected) << c.what;
    }
}

TEST(ShopPageParser, AnIncompleteHeaderRejectsThePage) {
    const std::string row = Row("cannon_1", "砲", "1", "2");
    for (const std::string& page : std::vector<std::string>{
             "<p>拠点街：リスボン</p>" + row, "<p>商会名：碧き帆</p>" + row,
             "<p>商会名：碧き帆</p><p>拠点街：リスボン",
             "<p>商会名：碧き帆<拠点街：リスボン</p>" + row,  // searched from two bytes on
             "<p>ワ､会名：碧き帆</p><p>拠点街：リスボン</p>" +
                 row,  // "ワ､" is 83 8F A4: "商" from a second byte
         })
        EXPECT_EQ(Parse(page), (std::vector<std::string>{kHeaderError, "rejected"})) << page;
}

TEST(CityPageParser, OneEntryPerLink) {
    const auto link = [](const std::string& id, const std::string& name) {
        return "<a href=\"javascript:Click_Sub( " + id + " );\">" + name + "</a>";
    };
    const struct {
        std::string page;
        std::vector<std::pair<int, std::string>> entries;
    } cases[] = {
        {link("101", "碧き帆") + link("7", "ソ表ポ交易"), {{101, "碧き帆"}, {7, "ソ表ポ交易"}}},
        {link("\n 12\t", "  前に空白 "), {{12, "  前に空白 "}}},
        {link("abc", "名") + link("-3", "負"), {{0, "名"}, {-3, "負"}}},
        {link("5", "重複") + link("5", "重複"), {{5, "重複"}, {5, "重複"}}},
        // The link marker's closing space doubles as the id marker's first byte.
        {"javascript:Click_Sub( );\">空<", {{0, "空"}}},
        {"javascript:Click_Sub( 9 );\">終わり", {{9, ""}}},
        {"javascript:Click_Sub( 8 x" + link("9", "次") + link("10", "後"), {{8, "次"}, {10, "後"}}},
        {link("1", "一") + "javascript:Click_Sub( 2 );", {{1, "一"}}},
        {"<p>no links</p>", {}},
        // "ニ" is 83 6A, whose second byte is the "j" of the link marker.
        {"<a href=\"ニavascript:Click_Sub( 5 );\">偽</a>" + link("7", "甲"), {{7, "甲"}}},
        // A saved page reads as its conversion: "¥" becomes "\\", a broken character
        // "?", and a NUL ends the text.
        {link("3", "円¥名\xE3\x81") + std::string(1, '\0') + link("4", "後"),
         {{3, "円¥名\xE3\x81"}}}};
    const TempFolder work;
    for (const auto& c : cases) {
        std::vector<CompanyEntry> companies;
        ParseCityText(S(c.page), S("セビリア"), companies);
        std::vector<CompanyEntry> expected;
        for (const auto& [id, name] : c.entries) expected.push_back({id, S(name), S("セビリア")});
        EXPECT_EQ(companies, expected) << c.page;
        companies.clear();
        ParseCityPage(work.Write("CityNo001.html", c.page), S("セビリア"), companies);
        EXPECT_EQ(companies, expected) << "saved: " << c.page;
    }
    std::vector<CompanyEntry> companies(3);
    EXPECT_EQ(
        ParseCityPage(VERADUNE_TEST_DATA_DIR "/pages/CityNo001.html", S("セビリア"), companies), 5)
        << "the count of every city so far";
}

// The account's round trip through the portal is HttpFetcherTest's; here the
// bytes no round trip shows.
TEST(PortalQuery, QueriesAndPageNames) {
    EXPECT_EQ(ShopPageQuery(1234) + AccountSuffix(S("船長"), std::string("\0\x7F~", 3)),
              "ovl/web/d?Act=company_search_sub_display_dt&Cid=1234&hvid=%91D%92%B7&pass=%00%7F~");
    EXPECT_EQ(CityPageFileName(6), "CityNo006.html");
    EXPECT_EQ(ShopPageFileName(12345), "ShopNo12345.html");
    EXPECT_EQ(ShopPageFileName(-3), "ShopNo-03.html");
}

}  // namespace
