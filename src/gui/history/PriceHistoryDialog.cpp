#include "history/PriceHistoryDialog.h"

#include <QBuffer>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

#include "listview/CellTexts.h"
#ifdef VERADUNE_PRICE_CHART
#include "history/PriceChartView.h"
#endif
#include "mainframe/MessageBoxes.h"
#include "mainframe/QtText.h"
#include "platform/Files.h"
#include "shopdata/ShiftJisText.h"

namespace {

constexpr int kChecksPerRow = 7;

}  // namespace

PriceHistoryDialog::PriceHistoryDialog(const PriceHistory& history, std::string productName,
                                       const CityFlags& cities, QWidget* parent)
    : QDialog(parent), m_history(history), m_productName(std::move(productName)) {
    setObjectName(QStringLiteral("priceHistoryDialog"));
    setWindowTitle(QStringLiteral("価格の推移 - ") + ToQString(m_productName));

    auto* checks = new QGridLayout;
    for (int i = 0; i < kCityCount; ++i) {
        m_cities[i] = new QCheckBox(ToQString(CityTable()[i].name), this);
        m_cities[i]->setObjectName(QStringLiteral("historyCity%1").arg(i));
        m_cities[i]->setChecked(cities[i]);
        connect(m_cities[i], &QCheckBox::toggled, this, &PriceHistoryDialog::Refresh);
        checks->addWidget(m_cities[i], i / kChecksPerRow, i % kChecksPerRow);
    }
    m_table = new QTableWidget(0, 5, this);
    m_table->setObjectName(QStringLiteral("historyTable"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("日時"), QStringLiteral("最安値"),
                                        QStringLiteral("中央値"), QStringLiteral("在庫数合計"),
                                        QStringLiteral("出品数")});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->setMinimumHeight(150);

    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(checks);
#ifdef VERADUNE_PRICE_CHART
    m_chart = new PriceChartView(this);
    layout->addWidget(m_chart, 3);
    auto* save = new QPushButton(QStringLiteral("画像として保存(&S)..."), this);
    save->setObjectName(QStringLiteral("saveChartButton"));
    connect(save, &QPushButton::clicked, this, &PriceHistoryDialog::SaveChart);
    buttons->addWidget(save);
#endif
    buttons->addWidget(close);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    Refresh();
}

void PriceHistoryDialog::Refresh() {
    CityFlags cities;
    for (int i = 0; i < kCityCount; ++i) cities[i] = m_cities[i]->isChecked();
    m_points = m_history.ProductHistory(m_productName, cities);

    m_table->setRowCount(static_cast<int>(m_points.size()));
    for (size_t i = 0; i < m_points.size(); ++i) {
        const HistoryPoint& point = m_points[i];
        const QString cells[] = {
            QString::fromStdString(point.time), ToQString(FormatPrice(point.lowestPrice)),
            ToQString(FormatPrice(point.medianPrice)), QString::number(point.totalStock),
            QString::number(point.offerCount)};
        for (int column = 0; column < 5; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(static_cast<int>(i), column, item);
        }
    }

#ifdef VERADUNE_PRICE_CHART
    m_chart->Show(ToQString(m_productName), m_points);
#endif
}

#ifdef VERADUNE_PRICE_CHART
void PriceHistoryDialog::SaveChart() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("画像として保存"),
                                                      QString(), QStringLiteral("PNG (*.png)"));
    if (path.isEmpty()) return;
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    m_chart->grab().save(&png, "PNG");
    int error = 0;
    if (!platform::WriteFileAtomically(path.toStdString(), png.data().toStdString(),
                                       platform::FileAccess::Everyone, platform::FileSync::Flush,
                                       &error))
        TellNotSaved(this, path, QString::fromLocal8Bit(std::strerror(error)));
}
#endif
