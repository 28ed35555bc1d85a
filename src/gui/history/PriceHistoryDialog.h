#pragma once
#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "history/PriceHistory.h"
#include "shopdata/FixedTables.h"

class QCheckBox;
class PriceChartView;
class QTableWidget;

// How one product's price moved over the recorded downloads: the lowest and the
// median asking price per download and, on a second axis, the total stock, for
// the cities the player ticks; the figures below as a table. The chart can be
// saved as a PNG picture.
class PriceHistoryDialog : public QDialog {
    Q_OBJECT
public:
    // `productName` is Shift-JIS; the cities start as the list's city choice.
    PriceHistoryDialog(const PriceHistory& history, std::string productName,
                       const CityFlags& cities, QWidget* parent = nullptr);

    const std::vector<HistoryPoint>& Points() const { return m_points; }

private:
    void Refresh();
    void SaveChart();

    const PriceHistory& m_history;
    const std::string m_productName;
    std::array<QCheckBox*, kCityCount> m_cities{};
    PriceChartView* m_chart = nullptr;  // none where Qt Charts is missing
    QTableWidget* m_table;
    std::vector<HistoryPoint> m_points;
};
