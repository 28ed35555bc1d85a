#include "listview/ProductFilter.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "listview/ColumnFields.h"
#include "listview/TextIds.h"
#include "shopdata/ShiftJisText.h"

namespace {

// Once the table has been sorted, its records no longer lie next to their names,
// so each pass asks for the name of a record a few places ahead.
void FetchNameAhead(const std::vector<ProductRecord>& products, size_t i) {
    constexpr size_t kAhead = 8;
    if (i + kAhead < products.size()) __builtin_prefetch(products[i + kAhead].productName.data());
}

}  // namespace

std::vector<ProductRecord> BuildCheapestSet(const std::vector<ProductRecord>& products,
                                            const CityFlags& flags, SortKey key) {
    // Names equal under the multibyte order have equal bytes, so offers are
    // grouped by hashing and only the cheapest ones are put in name order.
    TextIds names;
    std::vector<size_t> cheapest;  // by name id
    EnabledCities cities(flags);
    for (size_t i = 0; i < products.size(); ++i) {
        FetchNameAhead(products, i);
        const ProductRecord& offer = products[i];
        if (!cities.Contains(offer.cityName)) continue;
        const std::uint32_t id = names.IdOf(offer.productName);
        if (id == cheapest.size())
            cheapest.push_back(i);
        else if (offer.price < products[cheapest[id]].price)
            cheapest[id] = i;
    }
    std::sort(cheapest.begin(), cheapest.end(), [&](size_t a, size_t b) {
        return ShiftJisLess(products[a].productName, products[b].productName);
    });
    std::vector<ProductRecord> set;
    set.reserve(cheapest.size());
    for (size_t i : cheapest) set.push_back(products[i]);
    SortProducts(set, key);
    return set;
}

std::string CellText(const ProductRecord& record, int column) {
    if (column < 0 || column >= kColumnCount) return {};
    if (IsTextColumn(column)) return std::string(ProductText(record, column));
    const int number = ShownNumber(record, column);
    // Combat figures of 0 and -1 (not given) both show as an empty cell.
    if (IsFigureColumn(column) && number == 0) return {};
    return column == kColumnPrice ? FormatPrice(number) : FormatInt(number);
}

int CellAlignmentOf(int column) {
    return column >= kColumnStock && column <= kColumnDurability ? kAlignRight : kAlignLeft;
}

ListRow MakeListRow(const ProductRecord& record) {
    ListRow row(kColumnCount);
    for (int column = 0; column < kColumnCount; ++column) {
        row[column].text = CellText(record, column);
        row[column].alignment = CellAlignmentOf(column);
    }
    return row;
}

FilteredRows FilterProducts(const std::vector<ProductRecord>& products, const CityFlags& flags,
                            const FilterInputs& inputs, SortKey key) {
    const NameKeywordFilter names(inputs.nameText);
    const CategoryFilter categories(inputs.categoryText);
    EnabledCities cities(flags);
    const auto passes = [&](const ProductRecord& record) {
        return names.Matches(record.productName) && categories.Matches(record.category) &&
               MatchesCondition(record.price, inputs.priceValue, inputs.priceCondition) &&
               MatchesCondition(record.stock, inputs.stockValue, inputs.stockCondition) &&
               cities.Contains(record.cityName);
    };
    FilteredRows shown;
    shown.fromCheapest = inputs.cheapestOnly;
    if (shown.fromCheapest) shown.cheapest = BuildCheapestSet(products, flags, key);
    const std::vector<ProductRecord>& source = shown.fromCheapest ? shown.cheapest : products;
    if (source.size() > UINT32_MAX) throw std::length_error("too many products to list");
    for (size_t i = 0; i < source.size(); ++i) {
        FetchNameAhead(source, i);
        if (passes(source[i])) shown.positions.push_back(static_cast<std::uint32_t>(i));
    }
    return shown;
}

std::vector<ListRow> ApplyFilters(const std::vector<ProductRecord>& products,
                                  const CityFlags& flags, const FilterInputs& inputs, SortKey key) {
    const FilteredRows shown = FilterProducts(products, flags, inputs, key);
    const std::vector<ProductRecord>& source = shown.fromCheapest ? shown.cheapest : products;
    std::vector<ListRow> rows;
    rows.reserve(shown.positions.size());
    for (std::uint32_t position : shown.positions) rows.push_back(MakeListRow(source[position]));
    return rows;
}
