#pragma once
#include <QStyledItemDelegate>

// Paints the cells of the product list: black on white (the cell's own colours),
// a selected row in the highlight colours whether or not the list has the focus,
// the text on one line 3 pixels in from the cell's sides and cut with an ellipsis
// when it does not fit. No focus frame; the grid is the view's.
class ProductRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
