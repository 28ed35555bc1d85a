#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "listview/ListRow.h"
#include "shopdata/FixedTables.h"
#include "shopdata/ProductRecord.h"

enum SortOrder : int {
    kSortAscending = 0,
    kSortDescending = 1,
};

// The list's order: a column index and a SortOrder. Any other column or order, as
// a hand-edited settings file may hold, orders nothing.
struct SortKey {
    int column = kColumnCityName;
    int order = kSortAscending;
};

// Whether `a` comes before `b`: text columns by the multibyte byte order, number
// columns by the stored values (so -1, "not given", before 0).
bool CompareProductRecords(const ProductRecord& a, const ProductRecord& b, SortKey key);

// Whether row `a` comes before row `b`, judged on the shown texts: numbers are
// read back from their cells (an empty cell as 0, the price without its ",").
bool CompareRowTexts(const ListRow& a, const ListRow& b, SortKey key);

// Stable sorts with the predicates above.
void SortProducts(std::vector<ProductRecord>& products, SortKey key);
void SortRows(std::vector<ListRow>& rows, SortKey key);

// Stable sort of shown rows given as positions in `records`, in the order that
// CompareRowTexts gives the rows MakeListRow makes of those records.
void SortRecordRows(std::vector<std::uint32_t>& rows, const std::vector<ProductRecord>& records,
                    SortKey key);

// SortProducts that also tells where every record went: the record that was at
// position p is at newPosition[p] afterwards.
std::vector<std::uint32_t> SortProductsTracked(std::vector<ProductRecord>& products, SortKey key);

// The order after a click on a column header: the sort column's own header
// reverses the order, any other starts ascending.
SortKey ClickColumn(SortKey current, int clickedColumn);

// A header's text: the column title, with an arrow on the sort column. Empty for
// a column that does not exist.
std::string HeaderTitle(int column, SortKey key);
