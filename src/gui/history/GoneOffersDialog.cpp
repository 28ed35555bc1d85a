#include "history/GoneOffersDialog.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "listview/CellTexts.h"
#include "mainframe/QtText.h"
#include "shopdata/FixedTables.h"

namespace {

class GoneOffersModel : public QAbstractTableModel {
public:
    GoneOffersModel(std::vector<ProductRecord> offers, QObject* parent)
        : QAbstractTableModel(parent), m_offers(std::move(offers)) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_offers.size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : kColumnCount;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
        if (role == Qt::DisplayRole)
            return ToQString(CellText(m_offers[static_cast<size_t>(index.row())], index.column()));
        if (role == Qt::TextAlignmentRole)
            return static_cast<int>((CellAlignmentOf(index.column()) == CellAlignment::Right
                                         ? Qt::AlignRight
                                         : Qt::AlignLeft) |
                                    Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        if (section < 0 || section >= kColumnCount) return {};
        return ToQString(ColumnTitles()[section]);
    }

private:
    std::vector<ProductRecord> m_offers;
};

}  // namespace

GoneOffersDialog::GoneOffersDialog(std::vector<ProductRecord> offers, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("goneOffersDialog"));
    setWindowTitle(QStringLiteral("前回から消えた出品"));
    const int count = static_cast<int>(offers.size());
    auto* table = new QTableView(this);
    table->setObjectName(QStringLiteral("goneOffersList"));
    table->setModel(new GoneOffersModel(std::move(offers), table));
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* countLine = new QLabel(QStringLiteral("%1件の出品が前回から消えました").arg(count), this);
    countLine->setObjectName(QStringLiteral("goneCount"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("閉じる"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table);
    layout->addWidget(countLine);
    layout->addWidget(buttons);
    resize(820, 480);
}
