#include "history/PriceHistoryDialog.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cstring>

#include "listview/CellTexts.h"
#include "mainframe/MessageBoxes.h"
#include "mainframe/QtText.h"
#include "platform/Files.h"
#include "shopdata/ShiftJisText.h"

namespace {

constexpr int kChecksPerRow = 7;

QDateTime DownloadTime(const std::string& text) {
    return QDateTime::fromString(QString::fromStdString(text),
                                 QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

QLineSeries* Series(const QString& name, const QColor& color) {
    auto* series = new QLineSeries;
    series->setName(name);
    series->setPointsVisible(true);
    series->setColor(color);
    return series;
}

QValueAxis* ValueAxis(const QString& title, qreal top) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat(QStringLiteral("%d"));
    // Room above the highest point, and never an empty range.
    axis->setRange(0, std::max<qreal>(1, top * 1.1));
    return axis;
}

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
    m_chart = new QChartView(this);
    m_chart->setObjectName(QStringLiteral("historyChart"));
    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->setMinimumSize(720, 340);
    m_table = new QTableWidget(0, 5, this);
    m_table->setObjectName(QStringLiteral("historyTable"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("日時"), QStringLiteral("最安値"),
                                        QStringLiteral("中央値"), QStringLiteral("在庫数合計"),
                                        QStringLiteral("出品数")});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->setMinimumHeight(150);

    auto* save = new QPushButton(QStringLiteral("画像として保存(&S)..."), this);
    save->setObjectName(QStringLiteral("saveChartButton"));
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    connect(save, &QPushButton::clicked, this, &PriceHistoryDialog::SaveChart);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(checks);
    layout->addWidget(m_chart, 3);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    Refresh();
}

void PriceHistoryDialog::Refresh() {
    CityFlags cities;
    for (int i = 0; i < kCityCount; ++i) cities[i] = m_cities[i]->isChecked();
    m_points = m_history.ProductHistory(m_productName, cities);

    auto* lowest = Series(QStringLiteral("最安値"), QColor(0, 90, 200));
    auto* median = Series(QStringLiteral("中央値"), QColor(230, 120, 0));
    auto* stock = Series(QStringLiteral("在庫数合計"), QColor(110, 110, 110));
    qreal topPrice = 0, topStock = 0;
    m_table->setRowCount(static_cast<int>(m_points.size()));
    for (size_t i = 0; i < m_points.size(); ++i) {
        const HistoryPoint& point = m_points[i];
        const qreal when = DownloadTime(point.time).toMSecsSinceEpoch();
        lowest->append(when, point.lowestPrice);
        median->append(when, point.medianPrice);
        stock->append(when, static_cast<qreal>(point.totalStock));
        topPrice = std::max<qreal>(topPrice, point.medianPrice);
        topPrice = std::max<qreal>(topPrice, point.lowestPrice);
        topStock = std::max<qreal>(topStock, static_cast<qreal>(point.totalStock));
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

    auto* chart = new QChart;
    chart->setTitle(ToQString(m_productName));
    chart->addSeries(lowest);
    chart->addSeries(median);
    chart->addSeries(stock);
    auto* time = new QDateTimeAxis;
    time->setFormat(QStringLiteral("MM/dd HH:mm"));
    if (!m_points.empty())
        time->setRange(DownloadTime(m_points.front().time).addSecs(-3600),
                       DownloadTime(m_points.back().time).addSecs(3600));
    chart->addAxis(time, Qt::AlignBottom);
    QValueAxis* prices = ValueAxis(QStringLiteral("価格"), topPrice);
    QValueAxis* stocks = ValueAxis(QStringLiteral("在庫数"), topStock);
    chart->addAxis(prices, Qt::AlignLeft);
    chart->addAxis(stocks, Qt::AlignRight);
    for (QLineSeries* series : {lowest, median}) {
        series->attachAxis(time);
        series->attachAxis(prices);
    }
    stock->attachAxis(time);
    stock->attachAxis(stocks);
    // The view owns the chart it shows and frees the one it showed before.
    QChart* previous = m_chart->chart();
    m_chart->setChart(chart);
    delete previous;
}

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
