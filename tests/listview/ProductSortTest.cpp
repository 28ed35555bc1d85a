#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>

#include "listview/ProductFilter.h"
#include "listview/ProductSort.h"
#include "listview/RandomProducts.h"
#include "support/ShiftJisLiteral.h"

namespace {

ProductRecord Offer(std::string_view name, int price, std::string_view city) {
    ProductRecord p;
    p.productName = S(name);
    p.price = price;
    p.cityName = S(city);
    return p;
}

std::vector<std::string> Names(const std::vector<ProductRecord>& products) {
    std::vector<std::string> names;
    for (const auto& p : products) names.push_back(p.productName);
    return names;
}

ListRow RowWith(int column, std::string text, std::string tag) {
    ListRow row(kColumnCount);
    row[column].text = std::move(text);
    row[kColumnCompanyName].text = std::move(tag);
    return row;
}

std::vector<std::string> Tags(const std::vector<ListRow>& rows) {
    std::vector<std::string> tags;
    for (const auto& row : rows) tags.push_back(row[kColumnCompanyName].text);
    return tags;
}

TEST(CompareProductRecords, EachColumnReadsItsOwnField) {
    // `a` is greater than `b` in every field except the one of the column tested.
    ProductRecord a{"b", "b", 5, 5, 5, 5, 5, "b", "b"};
    const ProductRecord b{"a", "a", 3, 3, 3, 3, 3, "a", "a"};
    const std::vector<std::pair<int, std::function<void(ProductRecord&)>>> columns = {
        {kColumnProductName, [](ProductRecord& p) { p.productName = "A"; }},
        {kColumnCategory, [](ProductRecord& p) { p.category = "A"; }},
        {kColumnStock, [](ProductRecord& p) { p.stock = 1; }},
        {kColumnPrice, [](ProductRecord& p) { p.price = 1; }},
        {kColumnAttack, [](ProductRecord& p) { p.attack = 1; }},
        {kColumnDefense, [](ProductRecord& p) { p.defense = 1; }},
        {kColumnDurability, [](ProductRecord& p) { p.durability = 1; }},
        {kColumnCompanyName, [](ProductRecord& p) { p.companyName = "A"; }},
        {kColumnCityName, [](ProductRecord& p) { p.cityName = "A"; }},
    };
    for (const auto& [column, lower] : columns) {
        SCOPED_TRACE(column);
        ProductRecord lowered = a;
        lower(lowered);
        EXPECT_TRUE(CompareProductRecords(lowered, b, {column, kSortAscending}));
        EXPECT_FALSE(CompareProductRecords(b, lowered, {column, kSortAscending}));
        EXPECT_TRUE(CompareProductRecords(b, lowered, {column, kSortDescending}));
        EXPECT_FALSE(CompareProductRecords(a, a, {column, kSortDescending}));
    }
}

TEST(SortProducts, NotGivenFiguresComeBeforeZero) {
    std::vector<ProductRecord> products(3);
    products[0].attack = 1;
    products[1].attack = 0;
    products[2].attack = -1;
    SortProducts(products, {kColumnAttack, kSortAscending});
    EXPECT_EQ(products[0].attack, -1);
    EXPECT_EQ(products[1].attack, 0);
    EXPECT_EQ(products[2].attack, 1);
}

TEST(SortProducts, NamesFollowTheShiftJisCodesNotTheReading) {
    std::vector<ProductRecord> products = {Offer("剣", 0, ""), Offer("アイテム", 0, ""),
                                           Offer("あ", 0, ""), Offer("abc", 0, "")};
    products.push_back(products[0]);
    products.back().productName = "\xB1";  // half-width "ｱ"
    SortProducts(products, {kColumnProductName, kSortAscending});
    EXPECT_EQ(Names(products),
              (std::vector<std::string>{"abc", "\xB1", S("あ"), S("アイテム"), S("剣")}));
}

TEST(SortProducts, SuccessiveSortsGiveAMultiKeyOrder) {
    std::vector<ProductRecord> products = {Offer("a", 300, "ロンドン"), Offer("b", 100, "ナポリ"),
                                           Offer("c", 300, "セビリア"), Offer("d", 100, "ロンドン"),
                                           Offer("e", 300, "ナポリ")};
    SortProducts(products, {kColumnCityName, kSortAscending});
    SortProducts(products, {kColumnPrice, kSortAscending});
    // "セビリア" 83 5A < "ナポリ" 83 69 < "ロンドン" 83 8D
    EXPECT_EQ(Names(products), (std::vector<std::string>{"b", "d", "c", "e", "a"}));
    SortProducts(products, {kColumnPrice, kSortDescending});
    EXPECT_EQ(Names(products), (std::vector<std::string>{"c", "e", "a", "b", "d"}));
}

TEST(SortProducts, ExtremeAndEqualKeys) {
    std::vector<ProductRecord> products = {Offer("a", 5, ""), Offer("b", INT_MIN, ""),
                                           Offer("c", INT_MAX, ""), Offer("d", -1, ""),
                                           Offer("e", 5, "")};
    SortProducts(products, {kColumnPrice, kSortDescending});
    EXPECT_EQ(Names(products), (std::vector<std::string>{"c", "a", "e", "d", "b"}));
    for (auto& p : products) p.price = 7;
    SortProducts(products, {kColumnPrice, kSortAscending});
    EXPECT_EQ(Names(products), (std::vector<std::string>{"c", "a", "e", "d", "b"}));
}

TEST(SortProducts, ReversesLongTables) {
    // Reversal is a permutation of many two-item cycles.
    std::vector<ProductRecord> products(1001);
    for (size_t i = 0; i < products.size(); ++i) products[i].stock = static_cast<int>(i);
    SortProducts(products, {kColumnStock, kSortDescending});
    for (size_t i = 0; i < products.size(); ++i) ASSERT_EQ(products[i].stock, 1000 - int(i));
    SortProducts(products, {kColumnStock, kSortAscending});
    for (size_t i = 0; i < products.size(); ++i) ASSERT_EQ(products[i].stock, int(i));
}

TEST(SortProducts, InvalidKeysLeaveTheOrder) {
    const std::vector<ProductRecord> original = {Offer("b", 2, ""), Offer("a", 1, ""),
                                                 Offer("c", 3, "")};
    for (SortKey key : {SortKey{9, 0}, SortKey{-1, 0}, SortKey{3, 2}, SortKey{0, -1}}) {
        std::vector<ProductRecord> products = original;
        SortProducts(products, key);
        EXPECT_EQ(products, original);
        EXPECT_FALSE(CompareProductRecords(original[1], original[0], key));
        EXPECT_FALSE(CompareProductRecords(original[0], original[1], key));
        std::vector<ListRow> rows = {RowWith(3, "2", "b"), RowWith(3, "1", "a")};
        SortRows(rows, key);
        EXPECT_EQ(Tags(rows), (std::vector<std::string>{"b", "a"}));
    }
}

TEST(SortProducts, AgreesWithAStableSortByTheComparison) {
    const std::vector<ProductRecord> original = RandomProducts(3000, 7);
    for (int column = 0; column < kColumnCount; ++column) {
        for (int order : {kSortAscending, kSortDescending}) {
            SCOPED_TRACE(testing::Message() << column << "/" << order);
            const SortKey key{column, order};
            std::vector<ProductRecord> expected = original;
            std::stable_sort(expected.begin(), expected.end(), [key](const auto& a, const auto& b) {
                return CompareProductRecords(a, b, key);
            });
            std::vector<ProductRecord> sorted = original;
            SortProducts(sorted, key);
            ASSERT_EQ(sorted, expected);
        }
    }
}

TEST(SortRows, ReadsNumbersBackFromTheCells) {
    std::vector<ListRow> rows = {
        RowWith(kColumnPrice, "1,000", "a"), RowWith(kColumnPrice, "999", "b"),
        RowWith(kColumnPrice, "1,234,567", "c"), RowWith(kColumnPrice, "-1,234", "d")};
    SortRows(rows, {kColumnPrice, kSortAscending});
    EXPECT_EQ(Tags(rows), (std::vector<std::string>{"d", "b", "a", "c"}));
    EXPECT_TRUE(CompareRowTexts(RowWith(kColumnStock, "999", ""), RowWith(kColumnStock, "1000", ""),
                                {kColumnStock, kSortAscending}));
}

TEST(SortRows, EmptyCombatCellsTieWithEachOther) {
    // Attack 0 and -1 both show empty: among the rows they keep their order,
    // whereas the products put -1 first.
    std::vector<ProductRecord> products(4);
    const int attacks[] = {7, 0, -1, 1};
    const char* tags[] = {"seven", "zero", "none", "one"};
    for (int i = 0; i < 4; ++i) {
        products[i].attack = attacks[i];
        products[i].companyName = tags[i];
    }
    std::vector<ListRow> rows;
    for (const auto& p : products) rows.push_back(MakeListRow(p));
    SortRows(rows, {kColumnAttack, kSortAscending});
    EXPECT_EQ(Tags(rows), (std::vector<std::string>{"zero", "none", "one", "seven"}));
    SortProducts(products, {kColumnAttack, kSortAscending});
    EXPECT_EQ(products[0].companyName, "none");
    EXPECT_EQ(products[1].companyName, "zero");
}

TEST(SortRows, ToleratesRowsWithoutTheSortCell) {
    std::vector<ListRow> rows = {RowWith(0, "b", "b"), ListRow{}, RowWith(0, "a", "a")};
    SortRows(rows, {kColumnProductName, kSortDescending});
    EXPECT_TRUE(rows[2].empty());
}

TEST(SortRows, AgreesWithAStableSortByTheComparison) {
    std::vector<ListRow> original;
    for (const auto& p : RandomProducts(3000, 11)) original.push_back(MakeListRow(p));
    for (int column = 0; column < kColumnCount; ++column) {
        for (int order : {kSortAscending, kSortDescending}) {
            SCOPED_TRACE(testing::Message() << column << "/" << order);
            const SortKey key{column, order};
            std::vector<ListRow> expected = original;
            std::stable_sort(expected.begin(), expected.end(), [key](const auto& a, const auto& b) {
                return CompareRowTexts(a, b, key);
            });
            std::vector<ListRow> sorted = original;
            SortRows(sorted, key);
            ASSERT_EQ(sorted, expected);
        }
    }
}

TEST(ClickColumn, SameHeaderTogglesOtherHeaderStartsAscending) {
    SortKey key;  // city, ascending
    key = ClickColumn(key, kColumnPrice);
    EXPECT_EQ(key.column, kColumnPrice);
    EXPECT_EQ(key.order, kSortAscending);
    key = ClickColumn(key, kColumnPrice);
    EXPECT_EQ(key.order, kSortDescending);
    key = ClickColumn(key, kColumnPrice);
    EXPECT_EQ(key.order, kSortAscending);
    key = ClickColumn({kColumnPrice, kSortDescending}, kColumnStock);
    EXPECT_EQ(key.column, kColumnStock);
    EXPECT_EQ(key.order, kSortAscending);
    // An order other than ascending, from a hand-edited file, toggles to ascending.
    EXPECT_EQ(ClickColumn({kColumnStock, 5}, kColumnStock).order, kSortAscending);
}

TEST(HeaderTitle, ArrowOnlyOnTheSortColumn) {
    EXPECT_EQ(HeaderTitle(kColumnPrice, {kColumnPrice, kSortAscending}), S("販売価格 ▲"));
    EXPECT_EQ(HeaderTitle(kColumnPrice, {kColumnPrice, kSortDescending}), S("販売価格 ▼"));
    EXPECT_EQ(HeaderTitle(kColumnCityName, {kColumnPrice, kSortAscending}), S("都市名"));
    EXPECT_EQ(HeaderTitle(kColumnCityName, SortKey{}), S("都市名 ▲"));
    EXPECT_EQ(HeaderTitle(kColumnCount, {kColumnCount, kSortAscending}), "");
    EXPECT_EQ(HeaderTitle(-1, {-1, kSortAscending}), "");
}

}  // namespace
