#pragma once
#include <QMainWindow>

class CVeraduneView;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QToolBar;

// The main window: the menu, the filter toolbar and the option toolbar that carry
// the filter inputs, the status bar with its progress bar, and the product view.
// It keeps no filter state: the view reads the inputs when it filters.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame();

    CVeraduneView& View() const { return *m_view; }

    QComboBox& NameCombo() const { return *m_nameCombo; }
    QLineEdit& PriceEdit() const { return *m_priceEdit; }
    QComboBox& PriceConditionCombo() const { return *m_priceConditionCombo; }
    QLineEdit& StockEdit() const { return *m_stockEdit; }
    QComboBox& StockConditionCombo() const { return *m_stockConditionCombo; }
    QComboBox& CategoryCombo() const { return *m_categoryCombo; }
    // Checkable; the toolbar button and the menu item are this one action.
    QAction& CheapestOnlyAction() const { return *m_cheapestOnlyAction; }
    QAction& ClearFilterAction() const { return *m_clearFilterAction; }
    QAction& AboutAction() const { return *m_aboutAction; }
    QToolBar& FilterToolBar() const { return *m_filterToolBar; }
    QToolBar& OptionToolBar() const { return *m_optionToolBar; }

    void SetHitText(const QString& text);         // status pane 1
    void SetLastUpdateText(const QString& text);  // status pane 2
    void ResetProgress(int upper);                // status pane 3: range 0..upper, at 0

    // Whether the window has been closed (and the settings saved).
    bool IsClosed() const { return m_closed; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // No context menu offering to hide the toolbars: only the filter toolbar has a
    // menu command for that.
    QMenu* createPopupMenu() override { return nullptr; }

private:
    void CreateActions();
    void CreateMenus();
    void CreateFilterToolBar();
    void CreateOptionToolBar();
    void CreateStatusBar();
    void PlaceOnScreen();
    void RouteCommandsToView();

    CVeraduneView* m_view = nullptr;

    QAction* m_updateListAction = nullptr;
    QAction* m_startFilterAction = nullptr;
    QAction* m_clearFilterAction = nullptr;
    QAction* m_cityFilterAction = nullptr;
    QAction* m_cheapestOnlyAction = nullptr;
    QAction* m_settingsAction = nullptr;
    QAction* m_exitAction = nullptr;
    QAction* m_statusBarAction = nullptr;
    QAction* m_aboutAction = nullptr;
    QMenu* m_viewMenu = nullptr;

    QToolBar* m_filterToolBar = nullptr;
    QToolBar* m_optionToolBar = nullptr;
    QComboBox* m_nameCombo = nullptr;
    QLineEdit* m_priceEdit = nullptr;
    QComboBox* m_priceConditionCombo = nullptr;
    QLineEdit* m_stockEdit = nullptr;
    QComboBox* m_stockConditionCombo = nullptr;
    QComboBox* m_categoryCombo = nullptr;

    QLabel* m_hitPane = nullptr;
    QLabel* m_lastUpdatePane = nullptr;
    QProgressBar* m_progress = nullptr;

    bool m_closed = false;
};
