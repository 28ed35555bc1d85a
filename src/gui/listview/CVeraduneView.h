#pragma once
#include <QWidget>
#include <vector>

#include "listview/FilterRules.h"
#include "shopdata/ProductRecord.h"

class CMainFrame;
class ProductListCtrl;

// The program's only view: the product list filling the main window. It owns the
// product table, carries out the list commands (filter, refresh, sort) and writes
// the hit count and the last update time into the status bar. The filter inputs
// are read from the frame's toolbars each time a filter runs.
class CVeraduneView : public QWidget {
    Q_OBJECT
public:
    CVeraduneView(CMainFrame& frame, QWidget* parent);

    // The shown rows refer into this table by position: whoever changes it other
    // than by appending must filter again before the list is painted.
    std::vector<ProductRecord> products;
    int filterActive = 0;  // 1 while any filter input is set
    int cheapestOnly = 0;  // follows the cheapest-only button

    ProductListCtrl& List() const { return *m_list; }

    // Start-up: settings, list set-up, then the saved pages (or a first download).
    void OnInitialUpdate();
    // The settings reach "Config.xml" here only, when the main window closes.
    void SaveSettings();

    void SetupColumns();
    void FillHistoryBox();
    void RefreshAfterDownload(bool download);

    FilterInputs ReadFilterInputs() const;
    void StartFilter();
    void ClearFilter();
    void OnCheapestOnly();
    void OnCityFilter();
    void OnColumnClick(int column);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyFilters(const CityFlags& flags, const FilterInputs& inputs);
    void SetFilterActive(bool active);
    void FitColumnWidths();

    CMainFrame& m_frame;
    ProductListCtrl* m_list;
};
