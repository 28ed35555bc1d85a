#include "listview/ProductListCtrl.h"

#include <QEvent>
#include <QFontInfo>
#include <QHeaderView>

#include "listview/ProductRowDelegate.h"

ProductListCtrl::ProductListCtrl(ProductList& list, QWidget* parent)
    : QTableView(parent), m_model(list, this) {
    setObjectName(QStringLiteral("productList"));
    setModel(&m_model);
    setItemDelegate(new ProductRowDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    setWordWrap(false);
    setSortingEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView* header = horizontalHeader();
    header->setDefaultAlignment(Qt::AlignCenter);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setSortIndicatorShown(false);
    QHeaderView* rows = verticalHeader();
    rows->hide();
    // One height for every row keeps a list of a million rows cheap to lay out.
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    MeasureRows();
}

void ProductListCtrl::SetRowHeight(int minimumHeight) {
    m_minRowHeight = minimumHeight;
    MeasureRows();
}

int ProductListCtrl::RowHeight() const {
    return verticalHeader()->defaultSectionSize();
}

void ProductListCtrl::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) MeasureRows();
}

void ProductListCtrl::MeasureRows() {
    const int fontHeight = QFontInfo(font()).pixelSize();
    verticalHeader()->setDefaultSectionSize(std::max(fontHeight + 5, m_minRowHeight));
}
