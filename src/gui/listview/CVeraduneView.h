#pragma once
#include <QWidget>
#include <memory>
#include <optional>

#include "app/ProgramContext.h"
#include "history/BackgroundTask.h"
#include "history/OfferTable.h"
#include "history/PriceHistory.h"
#include "listview/FilterRules.h"
#include "listview/ProductList.h"

class ConfigStore;
class ProductListCtrl;

// The program's only view: the product list filling the main window. It owns the
// product list, carries out the list commands (refresh, filter, sort, cities) and
// tells the window what the status bar shows. The filter inputs come with each
// command; the settings it changes are the window's, passed in.
class CVeraduneView : public QWidget {
    Q_OBJECT
public:
    CVeraduneView(ConfigStore& config, const ProgramContext& context, QWidget* parent);

    const ProductList& Products() const { return m_products; }

    // Start-up, after the settings were read: the columns, then the saved pages,
    // or a first download when there are none.
    void Start();
    // Download (or only parse the saved pages again) and show the new table.
    void RefreshAfterDownload(bool download);

    void StartFilter(const FilterInputs& inputs);
    void ClearFilter();
    void OnCityFilter();
    void OnColumnClick(int column);
    // The offers the latest download no longer has.
    void ShowGoneOffers();
    // How the selected row's product was priced over the recorded downloads.
    void ShowPriceHistory();
    // The shown rows, in the shown order, to a CSV or TSV file the player names.
    void SaveShownList();
    // The selected rows with the header line, as TSV for a spreadsheet.
    void CopySelectedRows();
    // Commands of the list's context menu; their shortcuts work while the list has
    // the focus, so that Ctrl+C in a filter box still copies its text.
    void AddListCommands(const QList<QAction*>& actions);

signals:
    void hitTextChanged(const QString& text);
    void lastUpdateChanged(const QString& text);
    // The status bar's progress bar: its range over the records a filter run
    // examined, at 0.
    void progressReset(int upper);
    void filterActiveChanged(bool active);
    void historyEntryAdded(const QString& name);
    // What the last download could not do, for the status bar's message pane; empty
    // when it did everything.
    void messageChanged(const QString& text);
    // A filter run with the current inputs is due: after a refresh, after new cities.
    void filterRequested();
    // The saved pages are being recorded as the history's first download: until
    // then the history cannot be asked.
    void historyRecording(bool recording);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowRun(const FilterRun& run);
    // The history as the start opened it, with the marks of its latest download.
    struct OpenedHistory {
        HistoryOpening opening;
        std::optional<ChangeMarks> marks;
    };
    // The saved pages as the first download of a new history.
    struct FirstRecord {
        PriceHistory history;
        bool recorded = false;
        std::string failureReason;
    };

    void StartOpeningHistory();
    // Waits for the opening, if one runs, and tells what it had to set aside.
    void TakeOpenedHistory();
    void StartFirstRecord(OfferTable offers);
    // Waits for the first record, if one runs, takes the history back and says
    // how the record went.
    void FinishFirstRecord();
    void FitColumnWidths();

    ConfigStore& m_config;
    const ProgramContext& m_context;
    ProductList m_products;
    std::optional<PriceHistory> m_history;
    // While one of these runs, it holds the history.
    std::unique_ptr<BackgroundTask<OpenedHistory>> m_opening;
    std::unique_ptr<BackgroundTask<FirstRecord>> m_firstRecord;
    std::optional<ChangeMarks> m_marksAtStart;
    ProductListCtrl* m_list;
};
