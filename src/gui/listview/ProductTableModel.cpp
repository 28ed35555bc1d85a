#include "listview/ProductTableModel.h"

#include <QColor>

#include "listview/ListRow.h"
#include "mainframe/QtText.h"

namespace {

QColor FromColorValue(std::uint32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

Qt::Alignment ToQtAlignment(int alignment) {
    switch (alignment) {
        case kAlignRight:
            return Qt::AlignRight | Qt::AlignVCenter;
        case kAlignCentre:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

}  // namespace

void ProductTableModel::Show(const std::vector<ProductRecord>& products, FilteredRows shown) {
    beginResetModel();
    m_cheapest = std::move(shown.cheapest);
    m_records = shown.fromCheapest ? &m_cheapest : &products;
    m_rows = std::move(shown.positions);
    endResetModel();
}

void ProductTableModel::ProductsSorted(const std::vector<ProductRecord>& products,
                                       const std::vector<std::uint32_t>& newPosition) {
    if (m_records != &products) return;
    for (std::uint32_t& position : m_rows) position = newPosition[position];
}

void ProductTableModel::SortRows(SortKey key) {
    emit layoutAboutToBeChanged();
    SortRecordRows(m_rows, *m_records, key);
    emit layoutChanged();
}

void ProductTableModel::SetHeaderKey(SortKey key) {
    m_headerKey = key;
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
}

int ProductTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ProductTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ProductTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    // Every cell is black on white, as the list always showed them.
    static const ListCell plainCell;
    switch (role) {
        case Qt::DisplayRole:
            return ToQString(CellText(RecordAt(index.row()), index.column()));
        case Qt::TextAlignmentRole:
            return static_cast<int>(ToQtAlignment(CellAlignmentOf(index.column())));
        case Qt::ForegroundRole:
            return FromColorValue(plainCell.textColor);
        case Qt::BackgroundRole:
            return FromColorValue(plainCell.backColor);
        default:
            return {};
    }
}

QVariant ProductTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= kColumnCount) return {};
    return ToQString(HeaderTitle(section, m_headerKey));
}
