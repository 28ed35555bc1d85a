#pragma once
#include <QObject>
#include <string>
#include <vector>

#include "listview/FilterRules.h"

class QAction;
class QComboBox;
class QLineEdit;
class QMainWindow;
class QToolBar;

// The frame's commands that sit on the filter bars beside the inputs.
struct FilterBarCommands {
    QAction* updateList;
    QAction* startFilter;
    QAction* clearFilter;
    QAction* cityFilter;
};

// The two toolbars of the main window and the filter inputs they carry: the
// filter toolbar (name, price and stock with their conditions) and, on the row
// below, the option toolbar (cities, cheapest only, category). It owns the inputs;
// whoever filters asks it for them.
class FilterBar : public QObject {
    Q_OBJECT
public:
    FilterBar(QMainWindow& frame, const FilterBarCommands& commands);

    FilterInputs Inputs() const;
    // Every input back to empty, no condition, no category, cheapest only off.
    void Clear();

    // The name box's list is the search history, newest at the top.
    void SetHistory(const std::vector<std::string>& oldestFirst);
    void AddNewestHistoryEntry(const QString& name);

    // The cheapest-only switch is also a menu item; hiding the filter toolbar too.
    QAction* CheapestOnlyAction() const { return m_cheapestOnly; }
    QAction* FilterToolBarToggle() const;

signals:
    // The player chose a category or switched cheapest only: filter at once.
    void filterRequested();

private:
    void CreateFilterToolBar(QMainWindow& frame, const FilterBarCommands& commands);
    void CreateOptionToolBar(QMainWindow& frame, const FilterBarCommands& commands);

    QToolBar* m_filterToolBar = nullptr;
    QComboBox* m_nameCombo = nullptr;
    QLineEdit* m_priceEdit = nullptr;
    QComboBox* m_priceConditionCombo = nullptr;
    QLineEdit* m_stockEdit = nullptr;
    QComboBox* m_stockConditionCombo = nullptr;
    QComboBox* m_categoryCombo = nullptr;
    QAction* m_cheapestOnly = nullptr;
    QAction* m_changedOnly = nullptr;
};
