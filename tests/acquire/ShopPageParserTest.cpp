#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "acquire/ParsedShop.h"
#include "acquire/ShopPageParser.h"
#include "shopdata/TextConversion.h"
#include "support/RecordTexts.h"
#include "support/ShiftJisLiteral.h"

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

ShopResult ParseUtf8(const std::string& page) {
    return ParseShop(S(page));
}

ProductRecord Product(std::string_view name, std::string_view category, int stock, int price,
                      std::string_view company = "碧き帆") {
    return {.productName = S(name),
            .category = S(category),
            .stock = stock,
            .price = price,
            .companyName = S(company),
            .cityName = S("リスボン")};
}

TEST(ParseShopText, ReadsHeaderAndRows) {
    const ShopResult parsed = ParseUtf8(kHeader + Row("furniture_03", "椅子", "4", "900") +
                                        Row("unknown_1", "謎", " 35 ", "1,200"));
    EXPECT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.reports, std::vector<std::string>{"リスボン : 碧き帆"});
    EXPECT_EQ(parsed.products, (std::vector<ProductRecord>{Product("椅子", "家具", 4, 900),
                                                           Product("謎", "", 35, 1)}));
}

TEST(ParseShopText, IncompleteHeaderRejectsThePage) {
    const std::string row = Row("cannon_1", "砲", "1", "2");
    for (const std::string& page : std::vector<std::string>{
             "<p>拠点街：リスボン</p>" + row,
             "<p>商会名：碧き帆",
             "<p>商会名：碧き帆</p>" + row,
             "<p>商会名：碧き帆</p><p>拠点街：リスボン",
             // The home town search starts two bytes past the name's "<".
             "<p>商会名：碧き帆<拠点街：リスボン</p>" + row,
         }) {
        const ShopResult parsed = ParseUtf8(page);
        EXPECT_FALSE(parsed.ok) << page;
        EXPECT_TRUE(parsed.products.empty()) << page;
        EXPECT_EQ(parsed.reports, std::vector<std::string>{"エラー！商会情報の取得に失敗しました"});
    }
}

TEST(ParseShopText, HeaderWithoutRowsEmptyTextAndNoReportFunction) {
    ShopResult parsed = ParseUtf8(kHeader + "<table></table>");
    EXPECT_TRUE(parsed.ok);
    EXPECT_TRUE(parsed.products.empty());
    EXPECT_EQ(parsed.reports, std::vector<std::string>{"リスボン : 碧き帆"});
    parsed = ParseUtf8("");
    EXPECT_FALSE(parsed.ok);
    EXPECT_TRUE(parsed.reports.empty());
    std::vector<ProductRecord> products;
    EXPECT_TRUE(ParseShopText(S(kHeader + Row("", "a", "1", "2")), products, nullptr));
    EXPECT_FALSE(ParseShopText("<p>", products, DetailReport()));
    EXPECT_EQ(products.size(), 1u);
}

TEST(ParseShopText, NameClosedByTheStockCellLosesThatCell) {
    // The stock cell starting at the name's "<" or one byte after it is skipped.
    for (const std::string closing : {"", "<"}) {
        const ShopResult parsed =
            ParseUtf8(kHeader + "<div style=\"clear:right;\">帆" + closing +
                      "<td class=\"chara_rlin\">5</td><td class=\"chara_rlin\">700</td>"
                      "<td class=\"chara_rlin\">9</td>");
        ASSERT_EQ(parsed.products.size(), 1u) << closing;
        EXPECT_EQ(parsed.products[0].stock, 700) << closing;
        EXPECT_EQ(parsed.products[0].price, 9) << closing;
    }
}

TEST(ParseShopText, CategoryComesFromTheNextImageOnThePage) {
    const ShopResult parsed =
        ParseUtf8(kHeader + Row("", "無画像", "1", "1") + Row("cannon_02", "砲", "1", "1") +
                  // Without its ".png" ending the reference runs on to the next image's.
                  "<img src=\"./img/itemcg/trade_9.gif\">" + Row("furniture_1", "壺", "1", "1") +
                  Row("", "最後", "1", "1"));
    std::vector<std::string> categories;
    for (const auto& p : parsed.products) categories.push_back(ShiftJisToUtf8(p.category));
    EXPECT_EQ(categories, (std::vector<std::string>{"砲種", "砲種", "交易品", ""}));
}

TEST(ParseShopText, NamesLoseGenderMarksAndKeepOtherCharacters) {
    const ShopResult parsed =
        ParseUtf8(kHeader + Row("", "♂", "1", "1") + Row("", " ♀ リボン♂ ", "1", "1") +
                  Row("", "ソ表ポ", "1", "1") +
                  // "ａ院" is 82 81 89 40: the bytes of "♂" straddle its two characters.
                  Row("", "ａ院", "1", "1") +
                  // A marker on a second byte ("ツ" is 83 63) is not a marker.
                  "<p>ツlear:right;\">偽</p>" + Row("", "五", "1", "1"));
    EXPECT_EQ(Utf8Names(parsed.products),
              (std::vector<std::string>{"", "リボン", "ソ表ポ", "ａ院", "五"}));
}

TEST(ParseShopText, BrokenRows) {
    const std::string first = kHeader + Row("", "一", "1", "1");
    const struct {
        std::string tail;
        std::vector<std::string> names;
    } cases[] = {
        // A row that cannot be closed is dropped; what was read before stays.
        {"<div style=\"clear:right;\">二", {"一"}},
        {"<div style=\"clear:right;\">二</div><td class=\"chara_rlin\">5", {"一"}},
        {"<div style=\"clear:right;\">二</div><td class=\"chara_rlin\">5<td class=\"chara_rlin\">6",
         {"一"}},
        {"<div style=\"clear:right;\">二</div><td class=\"chara_rlin\">5</td>", {"一"}},
        // A row without cells takes the next row's, and the next row is used up.
        {"<div style=\"clear:right;\">二</div>" + Row("", "三", "7", "8") + Row("", "四", "1", "1"),
         {"一", "二", "四"}},
    };
    for (const auto& c : cases) {
        const ShopResult parsed = ParseUtf8(first + c.tail);
        EXPECT_TRUE(parsed.ok);
        EXPECT_EQ(Utf8Names(parsed.products), c.names) << c.tail;
    }
    EXPECT_EQ(ParseUtf8(first + "<div style=\"clear:right;\">二</div>" + Row("", "三", "7", "8"))
                  .products.at(1)
                  .stock,
              7);
}

TEST(ParseItemAttributes, ReadsFiguresAndTradeSubCategory) {
    const struct {
        std::string row;
        std::string category;
        int attack, defense, durability;
        std::string refined;
    } cases[] = {
        {"", "体装備", -1, -1, -1, "体装備"},
        {"攻撃力：12<br>防御力：5<br>耐久度：30<", "", 12, 5, 30, ""},
        {"攻撃力：12<br>貫通力：40<", "", 40, -1, -1, ""},
        {"貫通力：40<br>攻撃力：12<", "", 40, -1, -1, ""},
        {"攻撃力：<br>防御力： 35 <br>耐久度：1,200<", "", 0, 35, 1, ""},
        {"攻撃力：7<br>攻撃力：8<br>防御力：9", "", 7, -1, -1, ""},
        {"分類：食料品<br>", "交易品", -1, -1, -1, "食料品"},
        {"分類： 酒類 <br>", "交易品", -1, -1, -1, " 酒類 "},
        {"分類：食料品", "交易品", -1, -1, -1, "交易品"},
        {"<br>", "交易品", -1, -1, -1, "交易品"},
        {"分類：食料品<br>", "体装備", -1, -1, -1, "体装備"},
    };
    for (const auto& c : cases) {
        ProductRecord record;
        record.category = S(c.category);
        ParseItemAttributes(S(c.row), record);
        EXPECT_EQ(record.attack, c.attack) << c.row;
        EXPECT_EQ(record.defense, c.defense) << c.row;
        EXPECT_EQ(record.durability, c.durability) << c.row;
        EXPECT_EQ(ShiftJisToUtf8(record.category), c.refined) << c.row;
    }
}

class ParseShopPageTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& contents) {
        const std::filesystem::path path = std::filesystem::path(::testing::TempDir()) / name;
        std::ofstream(path, std::ios::binary) << contents;
        return path.string();
    }

    bool Parse(const std::string& path) {
        return ParseShopPage(path, products, [&](const std::string& text) {
            reports.push_back(ShiftJisToUtf8(text));
        });
    }

    std::vector<ProductRecord> products;
    std::vector<std::string> reports;
};

TEST_F(ParseShopPageTest, ParsesASavedPage) {
    const std::string path = VERADUNE_TEST_DATA_DIR "/pages/ShopNo001.html";
    ASSERT_TRUE(Parse(path));
    EXPECT_EQ(reports, std::vector<std::string>{"リスボン : 碧き帆の商会"});
    std::vector<ProductRecord> expected = {
        Product("胡椒", "香辛料", 1, 35, "碧き帆の商会"),
        Product("海賊のサーベル", "武器・道具", 3, 52000, "碧き帆の商会"),
        Product("ソ表ポの砲 ?", "砲種", 2, 98000, "碧き帆の商会"),  // "☃" has no CP932 code
    };
    expected[1].attack = 18;
    expected[1].durability = 40;
    expected[2].attack = 14;
    EXPECT_EQ(products, expected);
    ASSERT_TRUE(Parse(path));
    EXPECT_EQ(products.size(), 6u);
}

TEST_F(ParseShopPageTest, UnreadablePages) {
    EXPECT_FALSE(Parse((std::filesystem::path(::testing::TempDir()) / "NoSuchShop.html").string()));
    EXPECT_FALSE(Parse(::testing::TempDir()));
    EXPECT_EQ(reports, std::vector<std::string>(2, "エラー！商会情報の取得に失敗しました"));
    reports.clear();
    EXPECT_FALSE(Parse(Write("ShopEmpty.html", "")));
    EXPECT_FALSE(Parse(Write("ShopNul.html", std::string(1, '\0') + "商会名：a<拠点街：b<")));
    EXPECT_TRUE(reports.empty());
    EXPECT_TRUE(products.empty());
    const std::string badByte = std::string("a\xFF") + "b";
    EXPECT_TRUE(Parse(Write("ShopBadByte.html", kHeader + Row("", badByte, "1", "2"))));
    ASSERT_EQ(products.size(), 1u);
    EXPECT_EQ(products[0].productName, "a?b");
}

}  // namespace
