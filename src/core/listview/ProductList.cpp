#include "listview/ProductList.h"

#include <stdexcept>
#include <utility>

#include "config/ConfigStore.h"
#include "listview/CellTexts.h"
#include "listview/CheapestSet.h"
#include "listview/FetchAhead.h"

ProductList::ProductList(ConfigStore& settings) : m_settings(settings) {}

void ProductList::SetProducts(std::vector<ProductRecord> products) {
    m_products = std::move(products);
    SortProducts(m_products, Key());
    m_rows.clear();
    m_cheapest = {};
    m_source = &m_products;
}

FilterRun ProductList::Filter(const FilterInputs& inputs) {
    const bool added = AddSearchHistoryEntry(m_settings.searchHistory, inputs.nameText);
    m_filterActive = AnyFilterSet(inputs);
    FilterRun run = Show(inputs);
    run.historyAdded = added;
    return run;
}

FilterRun ProductList::ClearFilter() {
    m_filterActive = false;
    return Show(FilterInputs());
}

SortKey ProductList::Key() const {
    return {m_settings.sortColumn, static_cast<SortOrder>(m_settings.sortOrder)};
}

SortKey ProductList::ClickColumn(int column) {
    const SortKey key = ::ClickColumn(Key(), column);
    m_settings.sortColumn = key.column;
    m_settings.sortOrder = static_cast<int>(key.order);
    // The shown rows go by their texts, the table by its values; rows that show
    // the table then follow their records to where the sort put them.
    SortShownRows(m_rows, *m_source, key);
    const std::vector<std::uint32_t> newPosition = SortProductsTracked(m_products, key);
    if (m_source == &m_products)
        for (std::uint32_t& position : m_rows) position = newPosition[position];
    return key;
}

std::string ProductList::CellText(std::size_t row, int column) const {
    return ::CellText(RowRecord(row), column);
}

FilterRun ProductList::Show(const FilterInputs& inputs) {
    const NameKeywordFilter names(inputs.nameText);
    const CategoryFilter categories(inputs.categoryText);
    EnabledCities cities(m_settings.cityEnabled);
    const auto passes = [&](const ProductRecord& record) {
        return names.Matches(record.productName) && categories.Matches(record.category) &&
               MatchesCondition(record.price, inputs.priceValue, inputs.priceCondition) &&
               MatchesCondition(record.stock, inputs.stockValue, inputs.stockCondition) &&
               (!inputs.changedOnly || record.change != OfferChange::Unchanged) &&
               cities.Contains(record.cityName);
    };
    if (inputs.cheapestOnly) {
        m_cheapest = BuildCheapestSet(m_products, m_settings.cityEnabled, Key());
        m_source = &m_cheapest;
    } else {
        m_cheapest = {};
        m_source = &m_products;
    }
    const std::vector<ProductRecord>& source = *m_source;
    if (source.size() > UINT32_MAX) throw std::length_error("too many products to list");
    m_rows.clear();
    for (std::size_t i = 0; i < source.size(); ++i) {
        FetchNameAhead(source, i);
        if (passes(source[i])) m_rows.push_back(static_cast<std::uint32_t>(i));
    }
    FilterRun run;
    run.hits = static_cast<int>(m_rows.size());
    run.examined = source.size();
    return run;
}
