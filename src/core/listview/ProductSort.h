#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "shopdata/FixedTables.h"
#include "shopdata/ProductRecord.h"

enum class SortOrder : int {
    Ascending = 0,
    Descending = 1,
};

// The list's order: a column index and a SortOrder. Any other column or order, as
// a hand-edited settings file may hold, orders nothing.
struct SortKey {
    int column = kColumnCityName;
    SortOrder order = SortOrder::Ascending;
};

// Whether `a` comes before `b`: text columns by the multibyte byte order, number
// columns by the stored values (so -1, "not given", before 0).
bool CompareProductRecords(const ProductRecord& a, const ProductRecord& b, SortKey key);

// Stable sort by CompareProductRecords.
void SortProducts(std::vector<ProductRecord>& products, SortKey key);

// Stable sort of shown rows, given as positions in `records`, by the texts their
// cells show: a number cell counts as the number it reads as, so an empty combat
// cell (0 or -1) as 0.
void SortShownRows(std::vector<std::uint32_t>& rows, const std::vector<ProductRecord>& records,
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
