#pragma once
#include <QString>
#include <QWidget>
#include <vector>

#include "history/PriceHistory.h"

// One product's recorded downloads as lines over time: the lowest and the median
// asking price against the left axis, the total stock against the right one.
// Painted by the widget itself, so that the program needs no chart library.
class PriceChart : public QWidget {
    Q_OBJECT
public:
    explicit PriceChart(QWidget* parent = nullptr);

    void SetPoints(const QString& title, std::vector<HistoryPoint> points);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_title;
    std::vector<HistoryPoint> m_points;
};
