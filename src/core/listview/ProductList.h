#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "listview/FilterRules.h"
#include "listview/ProductSort.h"
#include "shopdata/ProductRecord.h"

class ConfigStore;

// What one filter run did, for the status bar and the name box.
struct FilterRun {
    int hits = 0;               // shown rows
    std::size_t examined = 0;   // records the run looked at: the table, or the cheapest set
    bool historyAdded = false;  // the name text became the newest history entry
};

// The product table and the list shown of it. It owns the products; the sort key,
// the city flags and the search history are the settings' (`sortColumn`,
// `sortOrder`, `cityEnabled`, `searchHistory`), read and changed here only. Every
// user of the list (the window's model, veradune-export, the benchmarks, the
// tests) goes through this class, so each rule lives in one place.
class ProductList {
public:
    explicit ProductList(ConfigStore& settings);
    // The rows point into the list itself.
    ProductList(const ProductList&) = delete;
    ProductList& operator=(const ProductList&) = delete;

    // A new table, from a download or the saved pages: stably sorted by the saved
    // key. Nothing is shown until the next filter run.
    void SetProducts(std::vector<ProductRecord> products);
    const std::vector<ProductRecord>& Products() const { return m_products; }

    // The start-filtering command: a non-empty name text that is not in the history
    // yet joins it, then the rows are rebuilt from the inputs and the city flags.
    FilterRun Filter(const FilterInputs& inputs);
    // The clear-filter command: every input unset, the history untouched; the city
    // flags stay in force.
    FilterRun ClearFilter();
    // Whether the last run had any input set (the clear-filter command's state).
    bool FilterActive() const { return m_filterActive; }

    // The saved key, as the settings hold it: possibly one that orders nothing.
    SortKey Key() const;
    // A header click: the sort column's own header reverses the order, another
    // starts ascending. The shown rows are reordered by their shown texts, the
    // table by its values; no filter runs. Returns the new key.
    SortKey ClickColumn(int column);

    std::size_t RowCount() const { return m_rows.size(); }
    const ProductRecord& RowRecord(std::size_t row) const { return (*m_source)[m_rows[row]]; }
    // The text a cell shows; empty for a column that does not exist.
    std::string CellText(std::size_t row, int column) const;

private:
    FilterRun Show(const FilterInputs& inputs);

    ConfigStore& m_settings;
    std::vector<ProductRecord> m_products;
    // In cheapest-only mode the rows show this set instead of the table.
    std::vector<ProductRecord> m_cheapest;
    const std::vector<ProductRecord>* m_source = &m_products;
    // Positions in *m_source, in shown order: four bytes a row.
    std::vector<std::uint32_t> m_rows;
    bool m_filterActive = false;
};
