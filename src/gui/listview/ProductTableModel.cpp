#include "listview/ProductTableModel.h"

#include <QColor>

#include "listview/CellTexts.h"
#include "mainframe/QtText.h"

ProductTableModel::ProductTableModel(ProductList& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list) {}

void ProductTableModel::SetProducts(std::vector<ProductRecord> products) {
    beginResetModel();
    m_list.SetProducts(std::move(products));
    endResetModel();
}

FilterRun ProductTableModel::Filter(const FilterInputs& inputs) {
    beginResetModel();
    const FilterRun run = m_list.Filter(inputs);
    endResetModel();
    return run;
}

FilterRun ProductTableModel::ClearFilter() {
    beginResetModel();
    const FilterRun run = m_list.ClearFilter();
    endResetModel();
    return run;
}

void ProductTableModel::ClickColumn(int column) {
    emit layoutAboutToBeChanged();
    m_list.ClickColumn(column);
    emit layoutChanged();
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
}

int ProductTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_list.RowCount());
}

int ProductTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ProductTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    switch (role) {
        case Qt::DisplayRole:
            return ToQString(m_list.CellText(static_cast<size_t>(index.row()), index.column()));
        case Qt::TextAlignmentRole:
            return static_cast<int>((CellAlignmentOf(index.column()) == CellAlignment::Right
                                         ? Qt::AlignRight
                                         : Qt::AlignLeft) |
                                    Qt::AlignVCenter);
        case Qt::ForegroundRole:
            return QColor(Qt::black);
        case Qt::BackgroundRole:
            return QColor(Qt::white);
        default:
            return {};
    }
}

QVariant ProductTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= kColumnCount) return {};
    return ToQString(HeaderTitle(section, m_list.Key()));
}
