#pragma once
#include <QMainWindow>

#include "app/ProgramContext.h"
#include "config/ConfigStore.h"

class CVeraduneView;
class FilterBar;
class QAction;
class QLabel;
class QMenu;
class QProgressBar;

// The main window: the menu, the two filter toolbars, the status bar with its
// progress bar, and the product view. It owns the settings and hands them to the
// view; it routes the commands and shows what the view reports.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(ProgramContext context);

    // Start-up: the settings, the search history, then the product data.
    void OnInitialUpdate();

    const ConfigStore& Config() const { return m_config; }
    const CVeraduneView& View() const { return *m_view; }
    // Whether the window has been closed (and the settings saved).
    bool IsClosed() const { return m_closed; }

signals:
    void aboutRequested();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // No context menu offering to hide the toolbars: only the filter toolbar has a
    // menu command for that.
    QMenu* createPopupMenu() override { return nullptr; }

private:
    void CreateActions();
    void CreateMenus();
    void CreateStatusBar();
    void PlaceOnScreen();
    void FitOuterSize();
    void SaveSettings();
    void RouteCommandsToView();
    void StartFilter();

    const ProgramContext m_context;
    ConfigStore m_config;
    CVeraduneView* m_view = nullptr;
    FilterBar* m_filterBar = nullptr;

    QAction* m_updateListAction = nullptr;
    QAction* m_startFilterAction = nullptr;
    QAction* m_clearFilterAction = nullptr;
    QAction* m_cityFilterAction = nullptr;
    QAction* m_settingsAction = nullptr;
    QAction* m_saveListAction = nullptr;
    QAction* m_copyAction = nullptr;
    QAction* m_goneOffersAction = nullptr;
    QAction* m_priceHistoryAction = nullptr;
    QAction* m_exitAction = nullptr;
    QAction* m_statusBarAction = nullptr;
    QAction* m_aboutAction = nullptr;

    QLabel* m_hitPane = nullptr;
    QLabel* m_lastUpdatePane = nullptr;
    QProgressBar* m_progress = nullptr;

    QString m_idleMessage = QStringLiteral(" ");
    QSize m_fittedSize;  // the inner size last fitted to 900 by 800 outside
    bool m_closed = false;
};
