#pragma once
#include <QAbstractTableModel>
#include <vector>

#include "listview/ProductList.h"

// The shown rows of the product list, as the core list answers them. Every change
// of the list goes through here, so that the views hear of it before they paint.
class ProductTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The name cell's mark of how the offer changed since the previous download,
    // as a short text, and the colour it is drawn in; none for an unchanged offer.
    static constexpr int ChangeMarkRole = Qt::UserRole;
    static constexpr int ChangeMarkColorRole = Qt::UserRole + 1;

    ProductTableModel(ProductList& list, QObject* parent);

    // A new table: nothing is shown until the next filter run.
    void SetProducts(std::vector<ProductRecord> products);
    FilterRun Filter(const FilterInputs& inputs);
    FilterRun ClearFilter();
    // A header click; a selected row position stays selected, as in the platform list.
    void ClickColumn(int column);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    ProductList& m_list;
};
