#include "listview/ProductRowDelegate.h"

#include <QPainter>

#include "listview/ProductTableModel.h"

namespace {

// The part of a cell's rectangle that its text may use.
QRect TextRect(const QRect& cell) {
    return cell.adjusted(3, 1, -3, -1);
}

}  // namespace

void ProductRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QColor background;
    QColor textColor;
    if (option.state & QStyle::State_Selected) {
        background = option.palette.color(QPalette::Active, QPalette::Highlight);
        textColor = option.palette.color(QPalette::Active, QPalette::HighlightedText);
    } else {
        background = index.data(Qt::BackgroundRole).value<QColor>();
        textColor = index.data(Qt::ForegroundRole).value<QColor>();
    }
    painter->save();
    painter->fillRect(option.rect, background);
    QRect textRect = TextRect(option.rect);
    // A change mark stands at the cell's right end; the text gives way to it.
    const QString mark = index.data(ProductTableModel::ChangeMarkRole).toString();
    if (!mark.isEmpty()) {
        const int width = option.fontMetrics.horizontalAdvance(mark);
        painter->setFont(option.font);
        painter->setPen(option.state & QStyle::State_Selected
                            ? textColor
                            : index.data(ProductTableModel::ChangeMarkColorRole).value<QColor>());
        painter->drawText(textRect, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, mark);
        textRect.setRight(textRect.right() - width - 3);
    }
    const QString text = option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                                       Qt::ElideRight, textRect.width());
    const auto alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
    painter->setFont(option.font);
    painter->setPen(textColor);
    painter->drawText(textRect, int(alignment) | Qt::TextSingleLine, text);
    painter->restore();
}
