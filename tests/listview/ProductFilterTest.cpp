#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "listview/ListViewTestSupport.h"
#include "listview/ProductFilter.h"
#include "listview/RandomProducts.h"
#include "shopdata/ShiftJisText.h"
#include "support/ShiftJisLiteral.h"

namespace {

ProductRecord Offer(std::string_view name, int price, std::string_view city,
                    std::string_view company = "", int stock = 0) {
    ProductRecord p;
    p.productName = S(name);
    p.category = S("食料品");
    p.price = price;
    p.stock = stock;
    p.cityName = S(city);
    p.companyName = S(company);
    return p;
}

FilterInputs Inputs(std::string_view name = "", std::string_view category = "",
                    std::string_view priceText = "", int priceCondition = -1,
                    std::string_view stockText = "", int stockCondition = -1,
                    bool cheapest = false) {
    return MakeFilterInputs(S(name), S(category), priceText, priceCondition, stockText,
                            stockCondition, cheapest);
}

std::vector<std::string> Column(const std::vector<ListRow>& rows, int column) {
    std::vector<std::string> texts;
    for (const auto& row : rows) texts.push_back(row[column].text);
    return texts;
}

TEST(MakeListRow, NineCellsBlackOnWhite) {
    ProductRecord p = Offer("絹織物", 1234567, "ナポリ", "北海商会", 0);
    p.attack = 0;
    p.defense = -1;
    p.durability = 7;
    const ListRow row = MakeListRow(p);
    ASSERT_EQ(row.size(), static_cast<size_t>(kColumnCount));
    const std::vector<std::string> texts = {
        S("絹織物"), S("食料品"), "0", "1,234,567", "", "", "7", S("北海商会"), S("ナポリ")};
    const int alignments[] = {0, 0, 1, 1, 1, 1, 1, 0, 0};
    for (int i = 0; i < kColumnCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(row[i].text, texts[i]);
        EXPECT_EQ(row[i].alignment, alignments[i]);
        EXPECT_EQ(row[i].textColor, 0x000000u);
        EXPECT_EQ(row[i].backColor, 0xFFFFFFu);
    }
    p.attack = 12;
    p.defense = 34;
    p.durability = 56;
    p.stock = -3;
    const ListRow figures = MakeListRow(p);
    EXPECT_EQ(figures[kColumnStock].text, "-3");
    EXPECT_EQ(figures[kColumnAttack].text, "12");
    EXPECT_EQ(figures[kColumnDefense].text, "34");
    EXPECT_EQ(figures[kColumnDurability].text, "56");
}

TEST(ApplyFilters, EmptyTableGivesNoRows) {
    EXPECT_TRUE(ApplyFilters({}, AllCities(), Inputs(), {}).empty());
    EXPECT_TRUE(ApplyFilters({}, AllCities(), Inputs("", "", "", -1, "", -1, true), {}).empty());
}

TEST(ApplyFilters, KeepsTheTableOrderAndCombinesFilters) {
    const std::vector<ProductRecord> products = {
        Offer("上質な絹織物", 1500, "ナポリ", "A"), Offer("上質な絹織物", 999, "ナポリ", "B"),
        Offer("絹織物", 2000, "ナポリ", "C"),       Offer("上質な絹", 1000, "ナポリ", "D"),
        Offer("上質な絹織物", 1000, "東京", "E"),
    };
    EXPECT_EQ(Column(ApplyFilters(products, AllCities(), Inputs(), {}), kColumnCompanyName),
              (std::vector<std::string>{"A", "B", "C", "D"}));
    const auto rows =
        ApplyFilters(products, AllCities(), Inputs("絹 上質", "", "1000", kConditionAtLeast), {});
    EXPECT_EQ(Column(rows, kColumnCompanyName), (std::vector<std::string>{"A", "D"}));
    EXPECT_EQ(Column(rows, kColumnPrice), (std::vector<std::string>{"1,500", "1,000"}));
}

TEST(ApplyFilters, PriceAndStockConditions) {
    const std::vector<ProductRecord> products = {
        Offer("a", 0, "ナポリ", "zero", 5), Offer("b", 999, "ナポリ", "999", 0),
        Offer("c", 1000, "ナポリ", "1000", 10), Offer("d", 5000, "ナポリ", "5000", 3)};
    const struct {
        FilterInputs inputs;
        std::vector<std::string> shown;
    } cases[] = {
        {Inputs("", "", "1000", kConditionAtLeast), {"1000", "5000"}},
        {Inputs("", "", "1000", kConditionAtMost), {"zero", "999", "1000"}},
        {Inputs("", "", "1000", -1), {"zero", "999", "1000", "5000"}},
        {Inputs("", "", "", kConditionAtLeast), {"zero", "999", "1000", "5000"}},
        {Inputs("", "", "abc", kConditionEqual), {"zero"}},
        {Inputs("", "", "-1000", kConditionAtLeast), {"zero", "999", "1000", "5000"}},
        {Inputs("", "", "", -1, "5", kConditionAtLeast), {"zero", "1000"}},
        {Inputs("", "", "", -1, "0", kConditionEqual), {"999"}},
        {Inputs("", "", "999", kConditionAtLeast, "3", kConditionAtMost), {"999", "5000"}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(
            Column(ApplyFilters(products, AllCities(), cases[i].inputs, {}), kColumnCompanyName),
            cases[i].shown);
    }
}

TEST(ApplyFilters, CategoryGroupsAndCities) {
    std::vector<ProductRecord> products = {Offer("a", 1, "ナポリ", "food"),
                                           Offer("b", 1, "アテネ", "trade"),
                                           Offer("c", 1, "アテネ", "cannon")};
    products[1].category = S("交易品");
    products[2].category = S("砲種");
    EXPECT_EQ(Column(ApplyFilters(products, AllCities(), Inputs("", "交易品（全て）"), {}),
                     kColumnCompanyName),
              (std::vector<std::string>{"food"}));
    EXPECT_EQ(
        Column(ApplyFilters(products, AllCities(), Inputs("", "砲種"), {}), kColumnCompanyName),
        (std::vector<std::string>{"cannon"}));
    CityFlags flags = AllCities();
    flags[FindCityIndex(S("アテネ"))] = 0;
    EXPECT_EQ(Column(ApplyFilters(products, flags, Inputs(), {}), kColumnCompanyName),
              (std::vector<std::string>{"food"}));
    flags.fill(0);
    EXPECT_TRUE(ApplyFilters(products, flags, Inputs(), {}).empty());
    EXPECT_TRUE(ApplyFilters(products, flags, Inputs("", "", "", -1, "", -1, true), {}).empty());
}

TEST(CheapestOnly, ShowsTheCheapestOfferOfEachProduct) {
    const std::vector<ProductRecord> products = {
        Offer("ワイン", 500, "ナポリ", "dear"),     Offer("ワイン", 300, "ナポリ", "cheap"),
        Offer("絹織物", 300, "ナポリ", "first"),    Offer("絹織物", 300, "アテネ", "second"),
        Offer("胡椒", 200, "東京", "unknown city"), Offer("胡椒", 250, "アテネ", "listed"),
    };
    const auto rows = ApplyFilters(products, AllCities(), Inputs("", "", "", -1, "", -1, true),
                                   {kColumnProductName, kSortAscending});
    // "ワ" 83 8F < "絹" 8C A6 < "胡" 8C D3
    EXPECT_EQ(Column(rows, kColumnCompanyName),
              (std::vector<std::string>{"cheap", "first", "listed"}));
}

TEST(CheapestOnly, OtherFiltersJudgeOnlyTheCheapestOffer) {
    const std::vector<ProductRecord> products = {Offer("ワイン", 500, "ナポリ", "dear", 50),
                                                 Offer("ワイン", 300, "ナポリ", "cheap", 2)};
    EXPECT_TRUE(ApplyFilters(products, AllCities(),
                             Inputs("", "", "", -1, "10", kConditionAtLeast, true), {})
                    .empty());
    EXPECT_EQ(
        ApplyFilters(products, AllCities(), Inputs("", "", "", -1, "10", kConditionAtLeast), {})
            .size(),
        1u);
}

TEST(CheapestOnly, DisabledCitiesTakeNoPartInTheChoice) {
    const std::vector<ProductRecord> products = {Offer("ワイン", 100, "アテネ", "disabled"),
                                                 Offer("ワイン", 300, "ナポリ", "enabled")};
    CityFlags flags = AllCities();
    flags[FindCityIndex(S("アテネ"))] = 0;
    const auto set = BuildCheapestSet(products, flags, {});
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(set[0].companyName, "enabled");
}

TEST(CheapestOnly, OrderedByTheSortKeyThenByName) {
    const std::vector<ProductRecord> products = {
        Offer("胡椒", 300, "ナポリ"), Offer("ワイン", 100, "セビリア"),
        Offer("絹織物", 300, "セビリア"), Offer("ワイン", 50, "ロンドン"),
        Offer("アイテム", 300, "ナポリ")};
    const auto names = [](const std::vector<ProductRecord>& set) {
        std::vector<std::string> result;
        for (const auto& p : set) result.push_back(p.productName);
        return result;
    };
    EXPECT_EQ(names(BuildCheapestSet(products, AllCities(), {kColumnPrice, kSortAscending})),
              (std::vector<std::string>{S("ワイン"), S("アイテム"), S("絹織物"), S("胡椒")}));
    EXPECT_EQ(names(BuildCheapestSet(products, AllCities(), {kColumnCityName, kSortDescending})),
              (std::vector<std::string>{S("ワイン"), S("アイテム"), S("胡椒"), S("絹織物")}));
    EXPECT_EQ(names(BuildCheapestSet(products, AllCities(), {42, kSortAscending})),
              (std::vector<std::string>{S("アイテム"), S("ワイン"), S("絹織物"), S("胡椒")}));
}

// The cheapest set as an ordered map by name builds it.
std::vector<ProductRecord> ReferenceCheapestSet(const std::vector<ProductRecord>& products,
                                                const CityFlags& flags, SortKey key) {
    std::map<std::string, ProductRecord, decltype(&ShiftJisLess)> cheapest(&ShiftJisLess);
    for (const auto& p : products) {
        if (!IsCityEnabled(p.cityName, flags)) continue;
        const auto [it, inserted] = cheapest.try_emplace(p.productName, p);
        if (!inserted && p.price < it->second.price) it->second = p;
    }
    std::vector<ProductRecord> set;
    for (const auto& entry : cheapest) set.push_back(entry.second);
    std::stable_sort(set.begin(), set.end(), [key](const auto& a, const auto& b) {
        return CompareProductRecords(a, b, key);
    });
    return set;
}

TEST(CheapestOnly, AgreesWithAnOrderedMapByName) {
    const std::vector<ProductRecord> products = RandomProducts(5000, 3);
    CityFlags someCities = AllCities();
    someCities[0] = someCities[5] = someCities[12] = 0;
    for (const CityFlags& flags : {AllCities(), someCities}) {
        for (int column = 0; column < kColumnCount; ++column) {
            for (int order : {kSortAscending, kSortDescending}) {
                SCOPED_TRACE(testing::Message() << column << "/" << order);
                const SortKey key{column, order};
                ASSERT_EQ(BuildCheapestSet(products, flags, key),
                          ReferenceCheapestSet(products, flags, key));
            }
        }
    }
}

TEST(ApplyFilters, AgreesWithThePredicatesOneByOne) {
    const std::vector<ProductRecord> products = RandomProducts(5000, 5);
    CityFlags someCities = AllCities();
    someCities[3] = someCities[8] = 0;
    const FilterInputs cases[] = {
        Inputs(),
        Inputs("絹 上質"),
        Inputs(" 剣"),
        Inputs("", "交易品（全て）"),
        Inputs("", "砲種", "999", kConditionAtLeast),
        Inputs("", "", "1000", kConditionAtMost, "1", kConditionEqual),
        Inputs("絹", "", "", -1, "0", kConditionAtLeast, true),
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const FilterInputs& in = cases[i];
        const SortKey key{kColumnPrice, kSortDescending};
        std::vector<ListRow> expected;
        const auto source =
            in.cheapestOnly ? ReferenceCheapestSet(products, someCities, key) : products;
        for (const auto& p : source) {
            if (MatchesNameKeywords(p.productName, in.nameText) &&
                MatchesCategory(p.category, in.categoryText) &&
                MatchesCondition(p.price, in.priceValue, in.priceCondition) &&
                MatchesCondition(p.stock, in.stockValue, in.stockCondition) &&
                IsCityEnabled(p.cityName, someCities))
                expected.push_back(MakeListRow(p));
        }
        ASSERT_EQ(ApplyFilters(products, someCities, in, key), expected);
    }
}

}  // namespace
