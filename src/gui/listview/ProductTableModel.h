#pragma once
#include <QAbstractTableModel>
#include <cstdint>
#include <vector>

#include "listview/ProductFilter.h"
#include "listview/ProductSort.h"
#include "shopdata/ProductRecord.h"

// The shown rows of the product list. A row is only the position of the record it
// shows; its cell texts are made when they are painted, so a million rows cost
// four bytes each.
class ProductTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Shows the rows of a filter run. Rows taken from `products` borrow it: it must
    // not change while they are shown, except through a sort that ProductsSorted
    // is told about. Rows of the cheapest-only set keep that set themselves.
    void Show(const std::vector<ProductRecord>& products, FilteredRows shown);

    // Follows the borrowed records to their new places after `products` was
    // sorted (SortProductsTracked), so that every row keeps showing its record.
    void ProductsSorted(const std::vector<ProductRecord>& products,
                        const std::vector<std::uint32_t>& newPosition);

    // Stable sort of the shown rows by their texts. A selected row position stays
    // selected, as in the platform list.
    void SortRows(SortKey key);

    // The header texts carry the arrow of this key.
    void SetHeaderKey(SortKey key);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const ProductRecord& RecordAt(int row) const { return (*m_records)[m_rows[row]]; }

    const std::vector<ProductRecord>* m_records = &m_cheapest;
    std::vector<ProductRecord> m_cheapest;
    std::vector<std::uint32_t> m_rows;
    SortKey m_headerKey;
};
