// Pages that push the page parsers to their limits: degenerate and huge files,
// pages cut at any byte, bytes that are no text, Shift-JIS characters whose second
// byte looks like the start of a marker, and pages that are some other page.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <random>

#include "PageGenerator.h"
#include "acquire/CityPageParser.h"
#include "acquire/DownloadJob.h"
#include "acquire/PagePaths.h"
#include "acquire/ParsedShop.h"
#include "acquire/RecordingReporter.h"
#include "acquire/ShopPageParser.h"
#include "shopdata/FixedTables.h"
#include "shopdata/TextConversion.h"
#include "support/HandMadePages.h"
#include "support/RecordTexts.h"
#include "support/ShiftJisLiteral.h"
#include "support/TestFiles.h"

namespace {

const std::string kHeaderError = "エラー！商会情報の取得に失敗しました";

std::string Header(std::string_view company, std::string_view city) {
    return "<html><body><ul><li>商会名：" + std::string(company) + "</li><li>拠点街：" +
           std::string(city) + "</li></ul><table>\n";
}

// One product row as the portal lays it out: image, name cell, attribute lines, then
// the stock and the price cell.
std::string Row(std::string_view image, std::string_view name, std::string_view attributes,
                int stock, int price) {
    return "<tr><td><img src=\"./img/itemcg/" + std::string(image) +
           ".png\" width=\"40\"></td><td><div style=\"float:left; clear:right;\">" +
           std::string(name) + "</div><div>" + std::string(attributes) +
           "</div></td><td class=\"chara_rlin\">" + std::to_string(stock) +
           "</td><td class=\"chara_rlin\">" + std::to_string(price) + "</td></tr>\n";
}

std::string Link(int id, std::string_view name) {
    return "<tr><td><a href=\"javascript:Click_Sub( " + std::to_string(id) + " );\">" +
           std::string(name) + "</a></td></tr>\n";
}

// Every field of a record on one line, as UTF-8, so that a mismatch reads plainly.
std::string Describe(const ProductRecord& p) {
    return ShiftJisToUtf8(p.productName) + " | " + ShiftJisToUtf8(p.category) + " | " +
           std::to_string(p.stock) + " | " + std::to_string(p.price) + " | " +
           std::to_string(p.durability) + " | " + std::to_string(p.attack) + " | " +
           std::to_string(p.defense) + " | " + ShiftJisToUtf8(p.companyName) + " | " +
           ShiftJisToUtf8(p.cityName);
}

std::vector<std::string> Describe(const std::vector<ProductRecord>& products) {
    std::vector<std::string> lines;
    for (const ProductRecord& p : products) lines.push_back(Describe(p));
    return lines;
}

std::vector<std::string> Describe(const std::vector<CompanyEntry>& companies) {
    std::vector<std::string> lines;
    for (const CompanyEntry& c : companies)
        lines.push_back(std::to_string(c.companyId) + " | " + ShiftJisToUtf8(c.companyName) +
                        " | " + ShiftJisToUtf8(c.cityName));
    return lines;
}

std::vector<CompanyEntry> ParseCity(std::string_view sjisText) {
    std::vector<CompanyEntry> companies;
    ParseCityText(sjisText, S("セビリア"), companies);
    return companies;
}

// Bytes in a heap block of exactly their size: a read past the end is caught by
// AddressSanitizer, which a std::string's terminator and spare room would hide.
class ExactBytes {
public:
    explicit ExactBytes(std::string_view bytes)
        : m_data(new char[bytes.size()]), m_size(bytes.size()) {
        if (m_size > 0) std::memcpy(m_data.get(), bytes.data(), m_size);
    }
    std::string_view View() const { return {m_data.get(), m_size}; }

private:
    std::unique_ptr<char[]> m_data;
    size_t m_size;
};

std::string RandomBytes(size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    // No NUL, which would end the text.
    for (char& b : bytes) b = static_cast<char>(random() % 255 + 1);
    return bytes;
}

// A shop page and a city page in one: each parser finds only its own markers.
// The NUL falls between the second and the third row and link.
std::string BothPages(bool nulInside) {
    return Header("碧き帆", "リスボン") + Row("cannon_01", "一", "", 1, 10) + Link(1, "甲") +
           Row("cannon_01", "二", "", 2, 20) + Link(2, "乙") +
           std::string(nulInside ? 1 : 0, '\0') + Row("cannon_01", "三", "", 3, 30) +
           Link(3, "丙") + "</table></body></html>";
}

TEST(HostilePage, DegenerateFiles) {
    struct ShopOutcome {
        bool ok;
        std::vector<std::string> names;
        std::vector<std::string> reports;
    };
    struct CityOutcome {
        std::vector<int> ids;
        int result;  // two companies were listed before
    };
    const ShopOutcome nothing{false, {}, {}};
    const ShopOutcome headerError{false, {}, {kHeaderError}};
    const struct {
        const char* what;
        std::string bytes;
        ShopOutcome shop;
        CityOutcome city;
    } cases[] = {
        {"a single NUL", std::string(1, '\0'), nothing, {{}, 0}},
        {"a NUL before a whole page", std::string(1, '\0') + BothPages(false), nothing, {{}, 0}},
        // The text ends at the NUL: what lies before it is read.
        {"a NUL inside the page",
         BothPages(true),
         {true, {"一", "二"}, {"リスボン : 碧き帆"}},
         {{1, 2}, 4}},
        {"bytes that are never UTF-8",
         std::string(50000, '\x80') + "\xA0\xFD\xFE\xFF\xC0\xC1\xF5",
         headerError,
         {{}, 2}},
        {"random bytes", RandomBytes(1 << 20, 20240601), headerError, {{}, 2}},
        {"white space only", std::string(100000, ' ') + "\r\n\t\v\f", headerError, {{}, 2}},
    };
    const TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = folder.Write("Page.html", c.bytes);
        const ShopResult shop = ParseShopFile(path);
        EXPECT_EQ(shop.ok, c.shop.ok);
        EXPECT_EQ(Utf8Names(shop.products), c.shop.names);
        EXPECT_EQ(shop.reports, c.shop.reports);

        std::vector<CompanyEntry> companies(2);
        EXPECT_EQ(ParseCityPage(path, S("ロンドン"), companies), c.city.result);
        std::vector<int> ids;
        for (size_t i = 2; i < companies.size(); ++i) ids.push_back(companies[i].companyId);
        EXPECT_EQ(ids, c.city.ids);
    }
}

TEST(HostilePage, FiftyMegabytesOfOneShopRowAreReadRowByRow) {
    std::string row = Row("", "海賊のサーベル", "攻撃力：18<br>耐久度：40", 3, 52000);
    row.erase(row.find("<img"), row.find("</td>") - row.find("<img"));
    const size_t rows = (50u << 20) / row.size();
    std::string page = Header("碧き帆", "リスボン");
    page.reserve(page.size() + rows * row.size() + 64);
    for (size_t i = 0; i < rows; ++i) page += row;
    page += "</table><img src=\"./img/itemcg/equipment_4_07.png\" ></body></html>";
    const TempFolder folder;
    const std::string path = folder.Write("ShopNo001.html", page);
    page = std::string();

    const ShopResult shop = ParseShopFile(path);
    EXPECT_TRUE(shop.ok);
    ASSERT_EQ(shop.products.size(), rows);
    const std::string expected =
        "海賊のサーベル | 武器・道具 | 3 | 52000 | 40 | 18 | -1 | 碧き帆 | リスボン";
    for (size_t i : {size_t{0}, size_t{1}, rows / 2, rows - 2, rows - 1})
        EXPECT_EQ(Describe(shop.products[i]), expected) << "row " << i;
}

TEST(HostilePage, FiftyMegabytesOfOneCityLinkAreReadLinkByLink) {
    const std::string link = Link(4321, " ソ表能の商会");
    const size_t links = (50u << 20) / link.size();
    std::string page = "<html><body><table>\n";
    page.reserve(page.size() + links * link.size() + 32);
    for (size_t i = 0; i < links; ++i) page += link;
    page += "</table></body></html>";
    const TempFolder folder;
    const std::string path = folder.Write("CityNo001.html", page);
    page = std::string();

    std::vector<CompanyEntry> companies;
    EXPECT_EQ(ParseCityPage(path, S("セビリア"), companies), static_cast<int>(links));
    ASSERT_EQ(companies.size(), links);
    for (size_t i : {size_t{0}, links / 2, links - 1})
        EXPECT_EQ(companies[i], (CompanyEntry{4321, S(" ソ表能の商会"), S("セビリア")}))
            << "link " << i;
}

// A page cut at every length: nothing is read past the cut, the rows before it
// stay, and a row is stored only once its price cell is closed.
TEST(HostilePage, ShopPageCutAtEveryLength) {
    const std::string header = S(Header(" ソ表能 ", "ﾘｽﾎﾞﾝ"));
    const std::string rows[] = {
        S(Row("trade_05", "胡椒", "分類：香辛料", 7, 35)),
        S(Row("equipment_4_01", "♂能の剣♀", "攻撃力：18<br>防御力：2<br>耐久度：40", 1, 52000)),
        S(Row("cannon_03", "ｶﾉﾝ砲", "攻撃力：9<br>貫通力：14", 2, 98000)),
    };
    std::string page = header;
    std::vector<size_t> priceCloses;  // where each row's price cell is closed
    for (const std::string& row : rows) {
        page += row;
        priceCloses.push_back(page.rfind("</td></tr>"));
    }
    page += "</table></body></html>";
    const size_t headerEnd = header.rfind("</li>");

    const std::vector<std::string> fullRows = Describe(ParseShop(page).products);
    ASSERT_EQ(fullRows, (std::vector<std::string>{
                            "胡椒 | 香辛料 | 7 | 35 | -1 | -1 | -1 | ソ表能 | ﾘｽﾎﾞﾝ",
                            "能の剣 | 武器・道具 | 1 | 52000 | 40 | 18 | 2 | ソ表能 | ﾘｽﾎﾞﾝ",
                            "ｶﾉﾝ砲 | 砲種 | 2 | 98000 | -1 | 14 | -1 | ソ表能 | ﾘｽﾎﾞﾝ",
                        }));
    for (size_t length = 0; length <= page.size(); ++length) {
        SCOPED_TRACE(length);
        const ExactBytes cut(std::string_view(page).substr(0, length));
        const ShopResult shop = ParseShop(cut.View());
        if (length <= headerEnd) {
            EXPECT_FALSE(shop.ok);
            EXPECT_TRUE(shop.products.empty());
            // Empty text is no page at all: nothing is reported.
            EXPECT_EQ(shop.reports,
                      length == 0 ? std::vector<std::string>() : std::vector{kHeaderError});
            continue;
        }
        EXPECT_TRUE(shop.ok);
        EXPECT_EQ(shop.reports, std::vector<std::string>{"ﾘｽﾎﾞﾝ : ソ表能"});
        size_t complete = 0;
        while (complete < priceCloses.size() && priceCloses[complete] < length) ++complete;
        ASSERT_EQ(Describe(shop.products),
                  std::vector(fullRows.begin(), fullRows.begin() + complete));
    }
}

TEST(HostilePage, CityPageCutAtEveryLength) {
    const std::string links[] = {
        S(Link(101, "碧き帆")),
        S(Link(7, " ソ表能ﾎﾟｰﾄ")),
        S(Link(-3, "表")),
    };
    const CompanyEntry entries[] = {
        {101, S("碧き帆"), S("セビリア")},
        {7, S(" ソ表能ﾎﾟｰﾄ"), S("セビリア")},
        {-3, S("表"), S("セビリア")},
    };
    std::string page = "<html><body><table>\n";
    std::vector<size_t> idEnds;      // just past each link's id marker
    std::vector<size_t> nameCloses;  // each name's closing "<"
    for (const std::string& link : links) {
        idEnds.push_back(page.size() + link.find(");\">") + 4);
        nameCloses.push_back(page.size() + link.find("</a>"));
        page += link;
    }
    page += "</table></body></html>";

    for (size_t length = 0; length <= page.size(); ++length) {
        SCOPED_TRACE(length);
        const ExactBytes cut(std::string_view(page).substr(0, length));
        std::vector<CompanyEntry> expected;
        for (size_t i = 0; i < idEnds.size() && idEnds[i] <= length; ++i) {
            expected.push_back(entries[i]);
            // A name that the cut leaves unclosed reads as empty.
            if (nameCloses[i] >= length) expected.back().companyName.clear();
        }
        ASSERT_EQ(Describe(ParseCity(cut.View())), Describe(expected));
    }
}

// Malformed UTF-8 next to every marker and inside every value: each bad sequence
// becomes one substitute character and no marker is lost.
TEST(HostilePage, MalformedUtf8AroundEveryMarker) {
    const std::string bad[] = {"\x80",         "\xBF",         "\xC0\xAF",
                               "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                               "\xFE",         "\xFF",         "\xE3\x81"};
    const TempFolder folder;
    for (const std::string& b : bad) {
        SCOPED_TRACE(testing::PrintToString(b));
        const std::string page = "<ul><li>" + b + "商会名：" + b + "碧" + b + "</li>" + b +
                                 "<li>拠点街：" + b + "港" + b + "</li></ul>" + b +
                                 "<img src=\"./img/itemcg/" + b + "trade_01" + b + ".png\" >" + b +
                                 "<div style=\"" + b + "clear:right;\">" + b + "麦" + b + "</div>" +
                                 b + "分類：" + b + "穀物" + b + "<br>" + b + "攻撃力：12" + b +
                                 "<br>" + b + "<td class=\"chara_rlin\">35" + b + "</td>" + b +
                                 "<td class=\"chara_rlin\">1200" + b + "</td>" + b;
        const ShopResult shop = ParseShopFile(folder.Write("Shop.html", page));
        EXPECT_TRUE(shop.ok);
        const std::string company = ShiftJisToUtf8(S(b + "碧" + b));
        const std::string city = ShiftJisToUtf8(S(b + "港" + b));
        EXPECT_EQ(shop.reports, std::vector<std::string>{city + " : " + company});
        EXPECT_EQ(Describe(shop.products),
                  std::vector<std::string>{
                      ShiftJisToUtf8(S(b + "麦" + b)) + " | " + ShiftJisToUtf8(S(b + "穀物" + b)) +
                      " | 35 | 1200 | -1 | 12 | -1 | " + company + " | " + city});

        std::vector<CompanyEntry> companies;
        ParseCityPage(folder.Write("City.html", b + "<a href=\"" + b + "javascript:Click_Sub( 5" +
                                                    b + " );\">" + b + "甲" + b + "</a>" + b),
                      S("セビリア"), companies);
        EXPECT_EQ(
            Describe(companies),
            std::vector<std::string>{"5 | " + ShiftJisToUtf8(S(b + "甲" + b)) + " | セビリア"});
    }
}

// Text handed to the parsers directly may hold bytes that are no CP932 at all.
// Those that cannot start a double-byte character stand alone; a lead byte whose
// partner is missing or is "<" never hides the "<".
TEST(HostilePage, BytesThatAreNoShiftJis) {
    const std::string company = S("碧") + "\x80\xA0";
    const std::string page = "\xFD" + S("商会名：") + company + "<\xFE" + S("拠点街：") + "\xFF" +
                             S("港") + "\x83<\xFD<img src=\"./img/itemcg/cannon_01.png\" >\xFF" +
                             "clear:right;\">\x80" + S("砲") + "\x9F<\xA0" +
                             "<td class=\"chara_rlin\">\xFE" + "5\x83</td>\xE0" +
                             "<td class=\"chara_rlin\">700\xFC</td>\xFD\xFE\xFF\x80\xA0\x81";
    const size_t headerEnd = page.find("\x83<") + 1;
    const size_t priceEnd = page.find("\xFC<") + 1;
    for (size_t length = 0; length <= page.size(); ++length) {
        const ShopResult cut = ParseShop(ExactBytes(page.substr(0, length)).View());
        EXPECT_EQ(cut.ok, length > headerEnd) << length;
        EXPECT_EQ(cut.products.size(), length > priceEnd ? 1u : 0u) << length;
    }
    const ShopResult shop = ParseShop(ExactBytes(page).View());
    EXPECT_TRUE(shop.ok);
    ASSERT_EQ(shop.products.size(), 1u);
    const ProductRecord& p = shop.products[0];
    EXPECT_EQ(p.companyName, company);
    EXPECT_EQ(p.cityName, "\xFF" + S("港") + "\x83");
    EXPECT_EQ(p.productName, "\x80" + S("砲") + "\x9F");
    EXPECT_EQ(p.category, S("砲種"));
    EXPECT_EQ(p.stock, 0);  // "\xFE5" has no leading digits
    EXPECT_EQ(p.price, 700);

    const std::string city = "\x81<a href=\"javascript:Click_Sub( 9 );\">\xFD" + S("甲") + "\xE0<";
    const size_t idEnd = city.find(");\">") + 4;
    for (size_t length = 0; length <= city.size(); ++length)
        EXPECT_EQ(ParseCity(ExactBytes(city.substr(0, length)).View()).size(),
                  length >= idEnd ? 1u : 0u)
            << length;
    EXPECT_EQ(ParseCity(ExactBytes(city).View()),
              (std::vector<CompanyEntry>{{9, "\xFD" + S("甲") + "\xE0", S("セビリア")}}));
}

// Characters whose second byte equals the first byte of a marker: the bytes of the
// marker then start inside a character, and the scan must pass them by. The text
// after such a lead character decodes on its own, so each stands in the page as
// ordinary text: "ワ､会名：" holds the bytes of "商会名：" from its second byte on.
TEST(HostilePage, MarkersNeverStartOnASecondByte) {
    const std::string row = Row("trade_01", "麦", "分類：穀物", 1, 2);
    const struct {
        const char* what;
        std::string page;
        std::vector<std::string> products;  // empty: the header is not found
    } cases[] = {
        {"company label",
         "<p>ワ､会名：偽</p>" + Header("碧き帆", "リスボン") + row,
         {"麦 | 穀物 | 1 | 2 | -1 | -1 | -1 | 碧き帆 | リスボン"}},
        {"home town label",
         "<li>商会名：碧き帆</li><li>ル駐_街：偽</li><li>拠点街：リスボン</li>" + row,
         {"麦 | 穀物 | 1 | 2 | -1 | -1 | -1 | 碧き帆 | リスボン"}},
        {"only second-byte header labels", "<li>ワ､会名：偽</li><li>ル駐_街：偽</li>" + row, {}},
        {"figure labels",
         Header("碧き帆", "リスボン") +
             Row("equipment_0_1", "鎧", "ロU撃力：91<br>ヶh御力：92<br>ヱﾏ久度：93<br>リﾑ通力：94",
                 1, 2) +
             Row("equipment_0_1", "盾",
                 "ロU撃力：91<br>ヶh御力：92<br>ヱﾏ久度：93<br>リﾑ通力：94<br>攻撃力：12<br>"
                 "防御力：5<br>耐久度：30",
                 1, 2),
         {"鎧 | 体装備 | 1 | 2 | -1 | -1 | -1 | 碧き帆 | リスボン",
          "盾 | 体装備 | 1 | 2 | 30 | 12 | 5 | 碧き帆 | リスボン"}},
        {"sub-category label",
         Header("碧き帆", "リスボン") + Row("trade_02", "酒", "ヵｪ類：偽<br>分類：酒類", 1, 2) +
             Row("trade_02", "謎", "ヵｪ類：偽", 1, 2),
         {"酒 | 酒類 | 1 | 2 | -1 | -1 | -1 | 碧き帆 | リスボン",
          "謎 | 交易品 | 1 | 2 | -1 | -1 | -1 | 碧き帆 | リスボン"}},
        // "ａ貫" is 82 81 8A D1: the bytes of "♀" straddle its two characters.
        {"gender mark",
         Header("碧き帆", "リスボン") + Row("trade_02", "ａ貫ａ院", "", 1, 2),
         {"ａ貫ａ院 | 交易品 | 1 | 2 | -1 | -1 | -1 | 碧き帆 | リスボン"}},
        // "ソ", "表" and "能" end in 5C ("\"), "ポ" and "－" in 7C ("|").
        {"second bytes 5C and 7C, half-width katakana",
         Header(" ソ表能ポ－\\ ", "ﾘｽﾎﾞﾝ表") +
             Row("trade_03", " ソ表能ﾎﾟｰｼｮﾝ｜ ", "分類：能ﾔｸ表ソ", 5, 7),
         {"ソ表能ﾎﾟｰｼｮﾝ｜ | 能ﾔｸ表ソ | 5 | 7 | -1 | -1 | -1 | ソ表能ポ－\\ | ﾘｽﾎﾞﾝ表"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ShopResult shop = ParseShop(S(c.page));
        EXPECT_EQ(shop.ok, !c.products.empty());
        EXPECT_EQ(Describe(shop.products), c.products);
        if (c.products.empty()) {
            EXPECT_EQ(shop.reports, std::vector{kHeaderError});
        }
    }

    // "ニ" is 83 6A, whose second byte is the "j" of the link marker.
    EXPECT_EQ(Describe(ParseCity(
                  S("<a href=\"ニavascript:Click_Sub( 5 );\">偽</a>" + Link(7, " ソ表能ﾎﾟｰﾄ｜")))),
              std::vector<std::string>{"7 |  ソ表能ﾎﾟｰﾄ｜ | セビリア"});
}

// A megabyte of double-byte text in which a label's bytes start on every
// character's second byte. Each false label must not send the scan back over the
// whole run, which would take minutes.
TEST(HostilePage, LongRunsOfSecondByteLabelsAreScannedOnce) {
    std::string companyRun;
    std::string attackRun;
    for (int i = 0; i < 120000; ++i) {
        companyRun += "ワ､会名：";
        attackRun += "ロU撃力：";
    }
    const ShopResult shop =
        ParseShop(S("<p>" + companyRun + "</p>" + Header("碧き帆", "リスボン") +
                    Row("equipment_4_1", "剣", attackRun + "攻撃力：7<br>" + attackRun, 1, 2)));
    EXPECT_EQ(
        Describe(shop.products),
        std::vector<std::string>{"剣 | 武器・道具 | 1 | 2 | -1 | 7 | -1 | 碧き帆 | リスボン"});
}

// Pages that the portal may answer with instead of the one asked for.
TEST(HostilePage, OtherPagesYieldNothing) {
    const GeneratedPortal portal = GeneratePortal(11, 13, 5);
    const std::string login =
        "<html><head><meta charset=\"UTF-8\"><title>ログイン</title></head><body>"
        "<form method=\"post\" action=\"./login\"><p>ログインしてください。</p>"
        "ID：<input name=\"id\"><br>パスワード：<input type=\"password\" name=\"pw\">"
        "<input type=\"submit\" value=\"ログイン\"></form></body></html>";
    const struct {
        const char* what;
        std::string bytes;
        bool shopPage;  // each parser reads only the other parser's page
        bool cityPage;
    } cases[] = {
        {"login page", login, false, false},
        {"not found", "<html><body><h1>404 Not Found</h1></body></html>", false, false},
        {"server error", "<h1>500 Internal Server Error</h1><p>商会名：</p>", false, false},
        {"maintenance", "<p>ただいまメンテナンス中です。拠点街：商会名：</p>", false, false},
        {"a city page", portal.cityPagesUtf8[0], false, true},
        {"a shop page", portal.shops[0].pageUtf8, true, false},
        {"a shop page in Shift-JIS", S(portal.shops[0].pageUtf8), false, false},
        {"JSON", R"({"error":"session expired","商会名":"x"})", false, false},
        {"an image", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) + RandomBytes(4096, 7), false,
         false},
    };
    const TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = folder.Write("Page.html", c.bytes);
        if (!c.shopPage) {
            const ShopResult shop = ParseShopFile(path);
            EXPECT_FALSE(shop.ok);
            EXPECT_TRUE(shop.products.empty());
            EXPECT_EQ(shop.reports, std::vector{kHeaderError});
        }
        if (!c.cityPage) {
            std::vector<CompanyEntry> companies;
            ParseCityPage(path, S("セビリア"), companies);
            EXPECT_TRUE(companies.empty());
        }
    }
}

class HostileJobTest : public ::testing::Test {
protected:
    void Save(const std::string& name, const std::string& bytes) { m_folder.Write(name, bytes); }

    // The reports of the parse pass, from its status line on.
    std::vector<std::string> ParsePassLines() const {
        const std::vector<std::string> lines = m_reporter.Lines();
        const auto start =
            std::find(lines.begin(), lines.end(), "status 商品リストを解析中です...");
        return std::vector<std::string>(start == lines.end() ? lines.end() : start + 1,
                                        lines.end());
    }

    TempFolder m_folder;
    RecordingReporter m_reporter;
    std::atomic<bool> m_cancel{false};
};

// Every kind of broken shop page in one run: the job goes on past each, keeps the
// rows the readable ones give, in company order, and reports the error line only
// for pages that have text but no header.
TEST_F(HostileJobTest, ParsePassGoesOnPastEveryBrokenShopPage) {
    const GeneratedPortal portal = GeneratePortal(5, 13, 3);
    const std::string cut = ShopPage("切", "ナポリ", {{"一", 1}, {"二", 2}, {"三", 3}});
    Save("CityNo001.html", CityPage({{1, "良"},
                                     {2, "入口"},
                                     {3, "空"},
                                     {4, "零"},
                                     {5, "都市"},
                                     {6, "符号"},
                                     {7, "切"},
                                     {8, "末"}}));
    Save("ShopNo001.html", ShopPage("良", "セビリア", {{"麦", 10}}));
    Save("ShopNo002.html", "<html><body><form>ログインしてください。</form></body></html>");
    Save("ShopNo003.html", "");
    Save("ShopNo004.html", std::string(1, '\0') + ShopPage("零", "セビリア", {{"塩", 1}}));
    Save("ShopNo005.html", portal.cityPagesUtf8[3]);
    Save("ShopNo006.html", S(ShopPage("符号", "セビリア", {{"砂糖", 3}})));
    Save("ShopNo007.html", cut.substr(0, cut.find(">3</td>")));
    Save("ShopNo008.html", ShopPage("末", "ロンドン", {{"絹", 80}}));

    DownloadJob job(m_folder.File(""), DownloadSource{}, m_reporter, m_cancel);
    EXPECT_EQ(JobThreadProc(job), 1u);
    EXPECT_EQ(Utf8Names(job.Products()), (std::vector<std::string>{"麦", "一", "二", "絹"}));
    const std::string error = "detail " + kHeaderError;
    // An empty page leaves the detail line as it was.
    EXPECT_EQ(
        ParsePassLines(),
        (std::vector<std::string>{"pos 0", "detail セビリア : 良", "pos 1", error, "pos 2", "pos 3",
                                  "pos 4", error, "pos 5", error, "pos 6", "detail ナポリ : 切",
                                  "pos 7", "detail ロンドン : 末", "pos 8", "finished OK"}));
}

TEST_F(HostileJobTest, CityPagesWithoutLinksEndTheJobWithCancel) {
    const GeneratedPortal portal = GeneratePortal(5, 13, 3);
    const std::string pages[] = {
        "",
        std::string(1, '\0') + CityPage({{1, "甲"}}),
        "<html><body>ログインしてください。</body></html>",
        "<h1>503 Service Unavailable</h1>",
        portal.shops[0].pageUtf8,
        RandomBytes(1 << 16, 3),
        "<a href=\"javascript:Click_Sub( 12",  // a link cut before its id ends
    };
    for (int i = 0; i < kCityCount; ++i)
        Save(CityPageFileName(CityTable()[i].id), pages[static_cast<size_t>(i) % std::size(pages)]);
    DownloadJob job(m_folder.File(""), DownloadSource{}, m_reporter, m_cancel);
    EXPECT_EQ(JobThreadProc(job), 0u);
    EXPECT_TRUE(job.Companies().empty());
    EXPECT_TRUE(job.Products().empty());
    EXPECT_EQ(m_reporter.Lines().back(), "finished Cancel");
}

}  // namespace
