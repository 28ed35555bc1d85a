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

namespace {

// How a change shows in the name cell: mark, mark colour, tint, tooltip.
struct ChangeLook {
    const char16_t* mark;
    QColor markColor;
    QColor tint;
    const char16_t* tip;
};

const ChangeLook* LookOf(OfferChange change) {
    static const ChangeLook looks[] = {
        {u"新", QColor(0, 128, 0), QColor(230, 245, 230), u"前回はなかった出品"},
        {u"▼", QColor(0, 80, 200), QColor(227, 238, 250), u"前回より値下がり"},
        {u"▲", QColor(200, 30, 30), QColor(251, 231, 231), u"前回より値上がり"},
    };
    switch (change) {
        case OfferChange::New:
            return &looks[0];
        case OfferChange::Cheaper:
            return &looks[1];
        case OfferChange::Dearer:
            return &looks[2];
        default:
            return nullptr;
    }
}

}  // namespace

QVariant ProductTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    const ProductRecord& record = m_list.RowRecord(static_cast<size_t>(index.row()));
    const ChangeLook* look = index.column() == kColumnProductName ? LookOf(record.change) : nullptr;
    switch (role) {
        case ChangeMarkRole:
            return look ? QVariant(QString::fromUtf16(look->mark)) : QVariant();
        case ChangeMarkColorRole:
            return look ? QVariant(look->markColor) : QVariant();
        case Qt::ToolTipRole:
            if (look) return QString::fromUtf16(look->tip);
            if (index.column() == kColumnPrice && record.previousPrice >= 0 &&
                record.change != OfferChange::Unchanged && record.change != OfferChange::New)
                return QStringLiteral("前回の価格：") +
                       ToQString(FormatPrice(record.previousPrice));
            return {};
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
            return look ? look->tint : QColor(Qt::white);
        default:
            return {};
    }
}

QVariant ProductTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= kColumnCount) return {};
    return ToQString(HeaderTitle(section, m_list.Key()));
}
