#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "listview/FilterRules.h"
#include "listview/ListRow.h"
#include "listview/ProductSort.h"
#include "shopdata/ProductRecord.h"

// The cheapest offer of each product among the enabled cities (the first one in
// `products` order when several are equally cheap), ordered by `key` and, where
// the key ties, by product name.
std::vector<ProductRecord> BuildCheapestSet(const std::vector<ProductRecord>& products,
                                            const CityFlags& flags, SortKey key);

// The text of one shown cell of a product: numbers as "%d", the price with its
// thousands separators, combat figures of 0 and -1 (not given) as an empty cell.
std::string CellText(const ProductRecord& record, int column);
// The CellAlignment of a column's cells: numbers right, texts left.
int CellAlignmentOf(int column);

// The nine shown cells of a product, black on white.
ListRow MakeListRow(const ProductRecord& record);

// The shown rows of a filter run as positions in the records they show: in
// `products`, or in cheapest-only mode in `cheapest`, the set BuildCheapestSet
// makes, which the result then holds. Rows of a large table cost four bytes each.
struct FilteredRows {
    bool fromCheapest = false;
    std::vector<ProductRecord> cheapest;
    std::vector<std::uint32_t> positions;
};

FilteredRows FilterProducts(const std::vector<ProductRecord>& products, const CityFlags& flags,
                            const FilterInputs& inputs, SortKey key);

// The rows of the products that pass every filter, in `products` order, or in
// cheapest-only mode in the order of BuildCheapestSet. The hit count is the
// number of rows.
std::vector<ListRow> ApplyFilters(const std::vector<ProductRecord>& products,
                                  const CityFlags& flags, const FilterInputs& inputs, SortKey key);
