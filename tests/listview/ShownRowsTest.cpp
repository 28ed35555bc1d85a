// The shown rows kept as positions in their records must list, and sort, exactly
// as rows of cell texts would.

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "listview/ListViewTestSupport.h"
#include "listview/ProductFilter.h"
#include "listview/ProductSort.h"
#include "listview/RandomProducts.h"
#include "shopdata/TextConversion.h"

namespace {

std::vector<ListRow> RowsOf(const std::vector<ProductRecord>& records,
                            const std::vector<std::uint32_t>& positions) {
    std::vector<ListRow> rows;
    for (std::uint32_t position : positions) rows.push_back(MakeListRow(records[position]));
    return rows;
}

TEST(CellText, MakesTheCellsOfMakeListRow) {
    const std::vector<ProductRecord> products = RandomProducts(200, 3);
    for (const ProductRecord& product : products) {
        const ListRow row = MakeListRow(product);
        for (int column = 0; column < kColumnCount; ++column) {
            EXPECT_EQ(CellText(product, column), row[column].text);
            EXPECT_EQ(CellAlignmentOf(column), row[column].alignment);
        }
    }
    EXPECT_EQ(CellText(products[0], kColumnCount), "");
}

TEST(FilterProducts, GivesTheRowsOfApplyFilters) {
    const std::vector<ProductRecord> products = RandomProducts(3000, 5);
    CityFlags flags = AllCities();
    flags[2] = 0;
    const SortKey key{kColumnPrice, kSortDescending};
    for (bool cheapest : {false, true}) {
        SCOPED_TRACE(cheapest);
        const FilterInputs inputs =
            MakeFilterInputs(ToShiftJis("織物"), "", "500", kConditionAtMost, "", -1, cheapest);
        const FilteredRows shown = FilterProducts(products, flags, inputs, key);
        EXPECT_EQ(shown.fromCheapest, cheapest);
        const auto& records = cheapest ? shown.cheapest : products;
        EXPECT_EQ(RowsOf(records, shown.positions), ApplyFilters(products, flags, inputs, key));
        EXPECT_FALSE(shown.positions.empty());
    }
}

TEST(SortRecordRows, OrdersAsCompareRowTextsOrdersTheirRows) {
    // Rows start in a shuffled order, so that stability is tested as well.
    const std::vector<ProductRecord> records = RandomProducts(2000, 11);
    std::vector<std::uint32_t> start(records.size());
    std::iota(start.begin(), start.end(), 0u);
    std::shuffle(start.begin(), start.end(), std::mt19937(4));
    for (int column = 0; column < kColumnCount; ++column) {
        for (int order : {kSortAscending, kSortDescending}) {
            SCOPED_TRACE(testing::Message() << "column " << column << " order " << order);
            const SortKey key{column, order};
            std::vector<std::uint32_t> positions = start;
            SortRecordRows(positions, records, key);
            std::vector<ListRow> rows = RowsOf(records, start);
            std::stable_sort(rows.begin(), rows.end(), [key](const ListRow& a, const ListRow& b) {
                return CompareRowTexts(a, b, key);
            });
            EXPECT_EQ(RowsOf(records, positions), rows);
        }
    }
}

TEST(SortProductsTracked, SortsAsSortProductsAndTellsWhereEachRecordWent) {
    const std::vector<ProductRecord> before = RandomProducts(1500, 8);
    for (SortKey key :
         {SortKey{kColumnAttack, kSortAscending}, SortKey{kColumnProductName, kSortDescending},
          SortKey{12, kSortAscending}}) {
        SCOPED_TRACE(key.column);
        std::vector<ProductRecord> tracked = before;
        const std::vector<std::uint32_t> newPosition = SortProductsTracked(tracked, key);
        std::vector<ProductRecord> sorted = before;
        SortProducts(sorted, key);
        EXPECT_EQ(tracked, sorted);
        ASSERT_EQ(newPosition.size(), before.size());
        for (size_t p = 0; p < before.size(); ++p) ASSERT_EQ(tracked[newPosition[p]], before[p]);
        std::vector<std::uint32_t> places = newPosition;
        std::sort(places.begin(), places.end());
        EXPECT_EQ(std::adjacent_find(places.begin(), places.end()), places.end());
    }
}

}  // namespace
