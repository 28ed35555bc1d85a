#include <gtest/gtest.h>

#include <algorithm>

#include "config/ConfigStore.h"
#include "listview/CellTexts.h"
#include "listview/ProductList.h"
#include "shopdata/ShiftJisText.h"
#include "support/ProductBuilders.h"

namespace {

using Tags = std::vector<std::string>;
constexpr int kNone = static_cast<int>(Condition::None);
constexpr int kAtLeast = static_cast<int>(Condition::AtLeast);
constexpr int kAtMost = static_cast<int>(Condition::AtMost);
constexpr int kEqual = static_cast<int>(Condition::Equal);

FilterInputs Inputs(std::string_view name, std::string_view category = "",
                    std::string_view price = "", int priceCondition = kNone,
                    std::string_view stock = "", int stockCondition = kNone,
                    bool cheapest = false) {
    return MakeFilterInputs(S(name), S(category), price, priceCondition, stock, stockCondition,
                            cheapest);
}

class ProductListTest : public ::testing::Test {
protected:
    void Load(std::vector<ProductRecord> products, int column) {
        settings.sortColumn = column;
        list.SetProducts(std::move(products));
    }
    Tags Shown() const {
        Tags tags;
        for (size_t row = 0; row < list.RowCount(); ++row)
            tags.push_back(ShiftJisToUtf8(list.RowRecord(row).companyName));
        return tags;
    }
    std::vector<ProductRecord> ShownRecords() const {
        std::vector<ProductRecord> records;
        for (size_t row = 0; row < list.RowCount(); ++row) records.push_back(list.RowRecord(row));
        return records;
    }

    ConfigStore settings;
    ProductList list{settings};
};

TEST_F(ProductListTest, FilterInputsPickTheRows) {
    Load({Offer("a", "上質な絹織物", 1500, "セビリア", 10, "織物"),
          Offer("b", "絹の上質な布", 999, "ナポリ", 0, "織物"),
          Offer("c", "上質な綿織物", 1000, "セビリア", 5, "食料品"),
          Offer("d", "Sword of Kings", 0, "ナポリ", 3, "武器・道具"),
          Offer("e", "上質　絹", 5000, "アテネ", 999, "交易品"),
          Offer("f", "アイテム", 1000, "セビリア", 1, "家具"),
          Offer("g", "ソード", 100, "ロンドン", 0, "砲種"),
          Offer("h", "上質な絹織物", 1, "東京", 1, "織物")},
         kColumnCompanyName);
    const Tags all = {"a", "b", "c", "d", "e", "f", "g"};  // never the unknown city
    const struct {
        FilterInputs inputs;
        bool active;
        Tags shown;
    } cases[] = {
        {Inputs(""), false, all},
        {Inputs("上質 絹"), true, {"a", "b", "e"}},
        {Inputs(" 絹  上質 "), true, {"a", "b", "e"}},
        {Inputs("上質　絹"), true, {"e"}},  // a full-width space belongs to its keyword
        {Inputs("Sword"), true, {"d"}},
        {Inputs("sword"), true, {}},
        {Inputs("イテ"), true, {"f"}},
        {Inputs("A"), true, {}},   // "ア" is 83 41
        {Inputs("\\"), true, {}},  // "ソ" is 83 5C
        {Inputs("", "織物"), true, {"a", "b"}},
        {Inputs("", "織"), true, {}},  // a category is chosen whole
        {Inputs("", "交易品（全て）"), true, {"a", "b", "c"}},
        {Inputs("", "交易品"), true, {"e"}},
        {Inputs("", "", "1000", kAtLeast), true, {"a", "c", "e", "f"}},
        {Inputs("", "", "1000", kAtMost), true, {"b", "c", "d", "f", "g"}},
        {Inputs("", "", "1000", kEqual), true, {"c", "f"}},
        {Inputs("", "", "1000", kNone), false, all},
        {Inputs("", "", "", kAtLeast), false, all},
        {Inputs("", "", "abc", kEqual), true, {"d"}},
        {Inputs("", "", "-1", kEqual), true, all},  // a negative value filters nothing
        {Inputs("", "", " 999x", kEqual), true, {"b"}},
        {Inputs("", "", "", kNone, "5", kAtLeast), true, {"a", "c", "e"}},
        {Inputs("", "", "", kNone, "0", kEqual), true, {"b", "g"}},
        {Inputs("上質", "織物", "1000", kAtLeast), true, {"a"}},
        {Inputs("", "", "999", kAtLeast, "3", kAtMost), true, {"b", "f"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ShiftJisToUtf8(c.inputs.nameText + "/" + c.inputs.categoryText));
        const FilterRun run = list.Filter(c.inputs);
        EXPECT_EQ(Shown(), c.shown);
        EXPECT_EQ(run.hits, static_cast<int>(c.shown.size()));
        EXPECT_EQ(run.examined, 8u);
        EXPECT_EQ(list.FilterActive(), c.active);
    }
}

TEST_F(ProductListTest, HistoryGrowsOncePerNameAndClearingKeepsItAndTheCities) {
    Load({Offer("a", "ワイン", 1, "ナポリ"), Offer("b", "ワイン", 1, "アテネ"),
          Offer("c", "ワイン", 1, "東京")},
         kColumnCompanyName);
    settings.cityEnabled[FindCityIndex(S("アテネ"))] = false;
    const std::pair<const char*, bool> runs[] = {
        {"", false}, {"ワイン", true}, {"剣", true}, {"ワイン", false}, {"ワイン ", true}};
    for (const auto& [name, added] : runs) EXPECT_EQ(list.Filter(Inputs(name)).historyAdded, added);
    const std::vector<std::string> history = {S("ワイン"), S("剣"), S("ワイン ")};
    EXPECT_EQ(settings.searchHistory, history);
    EXPECT_EQ(Shown(), (Tags{"a"}));
    EXPECT_FALSE(list.ClearFilter().historyAdded);
    EXPECT_FALSE(list.FilterActive());
    EXPECT_EQ(settings.searchHistory, history);
    EXPECT_EQ(Shown(), (Tags{"a"}));
    settings.cityEnabled.fill(true);
    list.ClearFilter();
    EXPECT_EQ(Shown(), (Tags{"a", "b"}));
}

TEST_F(ProductListTest, CheapestOnlyShowsTheCheapestEnabledOfferOfEachName) {
    const std::vector<ProductRecord> offers = {
        Offer("dear", "ワイン", 500, "ナポリ", 50), Offer("cheap", "ワイン", 300, "ナポリ", 2),
        Offer("first", "絹織物", 300, "ナポリ"),    Offer("second", "絹織物", 300, "アテネ"),
        Offer("tokyo", "胡椒", 200, "東京"),        Offer("athens", "胡椒", 250, "アテネ"),
        Offer("naples", "胡椒", 400, "ナポリ")};
    const FilterInputs cheapest = Inputs("", "", "", kNone, "", kNone, true);
    const struct {
        int column;
        bool athens;
        FilterInputs inputs;
        Tags shown;
    } cases[] = {
        // Ties go to the first offer of the sorted table; the set is ordered by
        // name ("ワ" 83 8F < "絹" 8C A6 < "胡" 8C D3), then by the key.
        {kColumnCityName, true, cheapest, {"second", "athens", "cheap"}},
        {kColumnPrice, true, cheapest, {"athens", "cheap", "first"}},
        {kColumnCityName, false, cheapest, {"cheap", "first", "naples"}},
        {kColumnPrice, true, Inputs("", "", "", kNone, "10", kAtLeast, true), {}},
        {kColumnPrice, true, Inputs("", "", "", kNone, "10", kAtLeast, false), {"dear"}},
        {kColumnPrice, true, Inputs("ワイン", "", "", kNone, "", kNone, true), {"cheap"}},
    };
    for (const auto& c : cases) {
        settings.cityEnabled.fill(true);
        if (!c.athens) settings.cityEnabled[FindCityIndex(S("アテネ"))] = false;
        Load(offers, c.column);
        const FilterRun run = list.Filter(c.inputs);
        EXPECT_EQ(Shown(), c.shown);
        EXPECT_EQ(run.examined, c.inputs.cheapestOnly ? 3u : offers.size());
    }
}

// Texts go by their Shift-JIS codes: ASCII, half-width katakana, hiragana, katakana, kanji.
TEST_F(ProductListTest, HeaderClicksToggleTheOrderAndKeepEarlierOrdersAmongTies) {
    Load({Offer("a", "剣", 300, "ロンドン"), Offer("b", "アイテム", 100, "ナポリ"),
          Offer("c", "あ", 300, "セビリア"), Offer("d", "abc", 100, "ロンドン"),
          Offer("e", "ｱ", 300, "ナポリ")},
         kColumnCityName);
    list.Filter({});
    EXPECT_EQ(Shown(), (Tags{"c", "b", "e", "a", "d"}));  // "セ" 83 5A < "ナ" 83 69 < "ロ" 83 8D
    const struct {
        int column;
        const char* price;  // the price header's title
        Tags shown;
    } clicks[] = {
        {kColumnPrice, "販売価格 ▲", {"b", "d", "c", "e", "a"}},
        {kColumnPrice, "販売価格 ▼", {"c", "e", "a", "b", "d"}},
        // Another column starts ascending, whatever the order before.
        {kColumnProductName, "販売価格", {"d", "e", "c", "b", "a"}},
        {kColumnProductName, "販売価格", {"a", "b", "c", "e", "d"}},
        {kColumnProductName, "販売価格", {"d", "e", "c", "b", "a"}},
    };
    for (const auto& c : clicks) {
        list.ClickColumn(c.column);
        EXPECT_EQ(HeaderTitle(kColumnPrice, list.Key()), S(c.price));
        EXPECT_EQ(Shown(), c.shown);
        list.Filter({});
        EXPECT_EQ(Shown(), c.shown);
    }
}

TEST_F(ProductListTest, CellsShowNumbersAsThePlayerReadsThem) {
    const struct {
        int stock, price, attack, defense, durability;
        std::vector<std::string> numbers;  // stock to durability
    } cases[] = {
        {0, 1234567, 0, -1, 7, {"0", "1,234,567", "", "", "7"}},
        {-3, 100, 12, 34, -1, {"-3", "100", "12", "34", ""}},
        {5, 100000, -1, 0, 0, {"5", "100,000", "", "", ""}},
        {1, -1234, 1, 1, 1, {"1", "-1,234", "1", "1", "1"}},
    };
    for (const auto& c : cases) {
        const ProductRecord record{"",       "",        c.stock, c.price, c.durability,
                                   c.attack, c.defense, "",      ""};
        for (int column = kColumnStock; column <= kColumnDurability; ++column)
            EXPECT_EQ(CellText(record, column), c.numbers[column - kColumnStock]) << column;
    }
    for (int column = 0; column < kColumnCount; ++column)  // numbers right, texts left
        EXPECT_EQ(CellAlignmentOf(column) == CellAlignment::Right, "LLRRRRRLL"[column] == 'R');
}

// A number cell read back as an atoi reading of its text, the price without its ",".
int ReadBack(const ProductRecord& record, int column) {
    std::string text = CellText(record, column);
    std::erase(text, ',');
    return AtoiReading(text);
}

// Shown rows go by what their cells read (an empty combat cell as 0), the table
// by its values (-1, not given, before 0).
TEST_F(ProductListTest, LargeTablesSortAsAPlainStableSortWould) {
    const std::vector<ProductRecord> products = RandomProducts(3000, 7);
    for (int column = 0; column < kColumnCount; ++column) {
        SCOPED_TRACE(column);
        const auto byText = [column](const ProductRecord& a, const ProductRecord& b) {
            return column == 0 || column == 1 || column >= kColumnCompanyName
                       ? ShiftJisLess(CellText(a, column), CellText(b, column))
                       : ReadBack(a, column) < ReadBack(b, column);
        };
        const auto byValue = [column](const ProductRecord& a, const ProductRecord& b) {
            return CompareProductRecords(a, b, {column, SortOrder::Ascending});
        };
        Load(products, (column + 3) % kColumnCount);
        std::vector<ProductRecord> table = list.Products();
        list.Filter({});
        std::vector<ProductRecord> shown = ShownRecords();
        list.ClickColumn(column);
        list.ClickColumn(column);  // ascending, then descending
        std::stable_sort(shown.begin(), shown.end(), byText);
        std::stable_sort(shown.begin(), shown.end(),
                         [&](auto& a, auto& b) { return byText(b, a); });
        ASSERT_EQ(ShownRecords(), shown);
        std::stable_sort(table.begin(), table.end(), byValue);
        std::stable_sort(table.begin(), table.end(),
                         [&](auto& a, auto& b) { return byValue(b, a); });
        ASSERT_EQ(list.Products(), table);
    }
}

}  // namespace
