#include "mainframe/FilterBar.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QToolBar>

#include "mainframe/Icons.h"
#include "mainframe/QtText.h"
#include "shopdata/FixedTables.h"

namespace {

template <class Control>
Control* AddControl(QToolBar* bar, Control* control, const char* name, int width,
                    const QString& prompt, const QString& tip) {
    control->setObjectName(QLatin1String(name));
    control->setFixedWidth(width);
    control->setStatusTip(prompt);
    control->setToolTip(tip);
    bar->addWidget(control);
    return control;
}

QLabel* AddLabel(QToolBar* bar, const char* name, const QString& text, int width,
                 const QString& prompt) {
    auto* label = new QLabel(text, bar);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return AddControl(bar, label, name, width, prompt, prompt);
}

// A drop-down list that starts with nothing selected.
QComboBox* AddChoiceBox(QToolBar* bar, const char* name, const std::vector<std::string>& items,
                        int width, const QString& prompt, const QString& tip) {
    auto* combo = AddControl(bar, new QComboBox(bar), name, width, prompt, tip);
    for (const std::string& item : items) combo->addItem(ToQString(item));
    combo->setCurrentIndex(-1);
    return combo;
}

QLineEdit* AddEdit(QToolBar* bar, const char* name, int width, const QString& prompt,
                   const QString& tip) {
    return AddControl(bar, new QLineEdit(bar), name, width, prompt, tip);
}

void AddButton(QToolBar* bar, QAction* action, const char* name) {
    bar->addAction(action);
    bar->widgetForAction(action)->setObjectName(QLatin1String(name));
}

QToolBar* MakeToolBar(QMainWindow& frame, const char* name) {
    auto* bar = new QToolBar(&frame);
    bar->setObjectName(QLatin1String(name));
    bar->setIconSize(QSize(16, 16));
    frame.addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

}  // namespace

FilterBar::FilterBar(QMainWindow& frame, const FilterBarCommands& commands) : QObject(&frame) {
    CreateFilterToolBar(frame, commands);
    frame.addToolBarBreak();
    CreateOptionToolBar(frame, commands);
}

void FilterBar::CreateFilterToolBar(QMainWindow& frame, const FilterBarCommands& commands) {
    QToolBar* bar = MakeToolBar(frame, "filterToolBar");
    m_filterToolBar = bar;
    AddButton(bar, commands.updateList, "updateListButton");
    bar->addSeparator();
    AddButton(bar, commands.startFilter, "startFilterButton");
    AddButton(bar, commands.clearFilter, "clearFilterButton");
    const std::vector<std::string> conditions(ConditionTexts().begin(), ConditionTexts().end());
    const QString chooseCondition = QStringLiteral("絞り込む条件を選択");

    bar->addSeparator();
    const QString byName = QStringLiteral("商品名で絞り込み");
    AddLabel(bar, "nameLabel", byName, 95, byName);
    m_nameCombo = AddControl(bar, new QComboBox(bar), "nameCombo", 150, byName,
                             QStringLiteral("ここに絞り込む商品名を入力"));
    m_nameCombo->setEditable(true);
    // The list is the search history, kept by the product list: Enter must not add
    // to it, and typing must not be completed from it.
    m_nameCombo->setInsertPolicy(QComboBox::NoInsert);
    m_nameCombo->setCompleter(nullptr);

    bar->addSeparator();
    const QString byPrice = QStringLiteral("販売価格で絞り込み");
    AddLabel(bar, "priceLabel", QStringLiteral("販売価格が"), 65, byPrice);
    m_priceEdit =
        AddEdit(bar, "priceEdit", 80, byPrice, QStringLiteral("ここに絞り込む販売価格を入力"));
    m_priceConditionCombo =
        AddChoiceBox(bar, "priceConditionCombo", conditions, 70, byPrice, chooseCondition);

    bar->addSeparator();
    const QString byStock = QStringLiteral("在庫数で絞り込み");
    AddLabel(bar, "stockLabel", QStringLiteral("在庫数が"), 55, byStock);
    m_stockEdit =
        AddEdit(bar, "stockEdit", 80, byStock, QStringLiteral("ここに絞り込む在庫数を入力"));
    m_stockConditionCombo =
        AddChoiceBox(bar, "stockConditionCombo", conditions, 70, byStock, chooseCondition);

    QAction* toggle = bar->toggleViewAction();
    toggle->setText(QStringLiteral("ﾂｰﾙ ﾊﾞｰ(&T)"));
    toggle->setObjectName(QStringLiteral("toolBarAction"));
}

void FilterBar::CreateOptionToolBar(QMainWindow& frame, const FilterBarCommands& commands) {
    QToolBar* bar = MakeToolBar(frame, "optionToolBar");
    m_cheapestOnly = new QAction(QStringLiteral("最安値の商品のみ表示(&M)"), this);
    m_cheapestOnly->setObjectName(QStringLiteral("cheapestOnlyAction"));
    m_cheapestOnly->setStatusTip(QStringLiteral("最安値の商品のみ表示する"));
    m_cheapestOnly->setToolTip(QStringLiteral("最安値の商品のみ表示"));
    m_cheapestOnly->setIcon(CheapestOnlyIcon());
    m_cheapestOnly->setCheckable(true);
    connect(m_cheapestOnly, &QAction::triggered, this, &FilterBar::filterRequested);

    // Not a setting: it starts off at every start, like the other inputs.
    const QString changed = QStringLiteral("前回から変化した出品のみ");
    m_changedOnly = new QAction(changed, this);
    m_changedOnly->setObjectName(QStringLiteral("changedOnlyAction"));
    m_changedOnly->setStatusTip(changed + QStringLiteral("表示する"));
    m_changedOnly->setToolTip(changed);
    m_changedOnly->setIcon(ChangedOnlyIcon());
    m_changedOnly->setCheckable(true);
    connect(m_changedOnly, &QAction::triggered, this, &FilterBar::filterRequested);

    AddButton(bar, commands.cityFilter, "cityFilterButton");
    bar->addSeparator();
    AddButton(bar, m_cheapestOnly, "cheapestButton");
    AddButton(bar, m_changedOnly, "changedButton");
    bar->addSeparator();
    // No prompt and no tooltip of their own.
    AddLabel(bar, "categoryLabel", QStringLiteral("種別で絞り込み"), 85, QString());
    m_categoryCombo =
        AddChoiceBox(bar, "categoryCombo", CategoryChoices(), 150, QString(), QString());
    m_categoryCombo->setMaxVisibleItems(20);
    // Only a choice made by the player filters at once, not a selection set by code.
    connect(m_categoryCombo, &QComboBox::activated, this, &FilterBar::filterRequested);
}

FilterInputs FilterBar::Inputs() const {
    return MakeFilterInputs(FromQString(m_nameCombo->currentText()),
                            FromQString(m_categoryCombo->currentText()),
                            FromQString(m_priceEdit->text()), m_priceConditionCombo->currentIndex(),
                            FromQString(m_stockEdit->text()), m_stockConditionCombo->currentIndex(),
                            m_cheapestOnly->isChecked(), m_changedOnly->isChecked());
}

void FilterBar::Clear() {
    m_nameCombo->setCurrentIndex(-1);
    m_nameCombo->clearEditText();
    m_priceEdit->clear();
    m_priceConditionCombo->setCurrentIndex(-1);
    m_stockEdit->clear();
    m_stockConditionCombo->setCurrentIndex(-1);
    m_categoryCombo->setCurrentIndex(-1);
    m_cheapestOnly->setChecked(false);
    m_changedOnly->setChecked(false);
}

void FilterBar::SetHistory(const std::vector<std::string>& oldestFirst) {
    m_nameCombo->clear();
    for (auto entry = oldestFirst.rbegin(); entry != oldestFirst.rend(); ++entry)
        m_nameCombo->addItem(ToQString(*entry));
    // Filling an empty box selects its first entry; the name input starts empty.
    m_nameCombo->setCurrentIndex(-1);
}

void FilterBar::AddNewestHistoryEntry(const QString& name) {
    m_nameCombo->insertItem(0, name);
}

QAction* FilterBar::FilterToolBarToggle() const {
    return m_filterToolBar->toggleViewAction();
}
