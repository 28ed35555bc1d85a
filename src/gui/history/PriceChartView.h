#pragma once
#include <QChartView>
#include <vector>

#include "history/PriceHistory.h"

// The price history as a chart: the lowest and the median asking price per download
// on the left axis, the total stock on the right one.
class PriceChartView : public QChartView {
    Q_OBJECT
public:
    explicit PriceChartView(QWidget* parent = nullptr);

    void Show(const QString& title, const std::vector<HistoryPoint>& points);
};
