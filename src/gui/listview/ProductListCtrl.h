#pragma once
#include <QTableView>

#include "listview/ProductTableModel.h"

// The product list: one full row selected at a time, grid lines, rows of a fixed
// height, a header whose clicks the view handles. The rows come from its model.
class ProductListCtrl : public QTableView {
    Q_OBJECT
public:
    ProductListCtrl(ProductList& list, QWidget* parent);

    ProductTableModel& Model() { return m_model; }

    // Rows are at least this high, and never lower than the font needs.
    void SetRowHeight(int minimumHeight);
    int RowHeight() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void MeasureRows();

    ProductTableModel m_model;
    int m_minRowHeight = 20;
};
