#include "history/PriceChartView.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

namespace {

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

PriceChartView::PriceChartView(QWidget* parent) : QChartView(parent) {
    setObjectName(QStringLiteral("historyChart"));
    setRenderHint(QPainter::Antialiasing);
    setMinimumSize(720, 340);
}

void PriceChartView::Show(const QString& title, const std::vector<HistoryPoint>& points) {
    auto* lowest = Series(QStringLiteral("最安値"), QColor(0, 90, 200));
    auto* median = Series(QStringLiteral("中央値"), QColor(230, 120, 0));
    auto* stock = Series(QStringLiteral("在庫数合計"), QColor(110, 110, 110));
    qreal topPrice = 0, topStock = 0;
    for (const HistoryPoint& point : points) {
        const qreal when = DownloadTime(point.time).toMSecsSinceEpoch();
        lowest->append(when, point.lowestPrice);
        median->append(when, point.medianPrice);
        stock->append(when, static_cast<qreal>(point.totalStock));
        topPrice = std::max({topPrice, qreal(point.medianPrice), qreal(point.lowestPrice)});
        topStock = std::max<qreal>(topStock, static_cast<qreal>(point.totalStock));
    }

    auto* chart = new QChart;
    chart->setTitle(title);
    chart->addSeries(lowest);
    chart->addSeries(median);
    chart->addSeries(stock);
    auto* time = new QDateTimeAxis;
    time->setFormat(QStringLiteral("MM/dd HH:mm"));
    if (!points.empty())
        time->setRange(DownloadTime(points.front().time).addSecs(-3600),
                       DownloadTime(points.back().time).addSecs(3600));
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
    QChart* previous = this->chart();
    setChart(chart);
    delete previous;
}
