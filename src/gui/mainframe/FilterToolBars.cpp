// The two toolbars of the main window and the filter inputs they carry.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolBar>

#include "listview/FilterRules.h"
#include "mainframe/CMainFrame.h"
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

void NameButton(QToolBar* bar, QAction* action, const char* name) {
    bar->widgetForAction(action)->setObjectName(QLatin1String(name));
}

QToolBar* MakeToolBar(QMainWindow* frame, const char* name) {
    auto* bar = new QToolBar(frame);
    bar->setObjectName(QLatin1String(name));
    bar->setIconSize(QSize(16, 16));
    frame->addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

}  // namespace

void CMainFrame::CreateFilterToolBar() {
    QToolBar* bar = MakeToolBar(this, "filterToolBar");
    m_filterToolBar = bar;
    bar->addAction(m_updateListAction);
    bar->addSeparator();
    bar->addAction(m_startFilterAction);
    bar->addAction(m_clearFilterAction);
    NameButton(bar, m_updateListAction, "updateListButton");
    NameButton(bar, m_startFilterAction, "startFilterButton");
    NameButton(bar, m_clearFilterAction, "clearFilterButton");
    const std::vector<std::string> conditions(ConditionTexts().begin(), ConditionTexts().end());
    const QString chooseCondition = QStringLiteral("絞り込む条件を選択");

    bar->addSeparator();
    const QString byName = QStringLiteral("商品名で絞り込み");
    AddLabel(bar, "nameLabel", byName, 95, byName);
    m_nameCombo = AddControl(bar, new QComboBox(bar), "nameCombo", 150, byName,
                             QStringLiteral("ここに絞り込む商品名を入力"));
    m_nameCombo->setEditable(true);
    // The list is the search history, kept by the view: Enter must not add to it,
    // and typing must not be completed from it.
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
    m_viewMenu->addAction(toggle);
}

void CMainFrame::CreateOptionToolBar() {
    QToolBar* bar = MakeToolBar(this, "optionToolBar");
    m_optionToolBar = bar;
    bar->addAction(m_cityFilterAction);
    bar->addSeparator();
    bar->addAction(m_cheapestOnlyAction);
    bar->addSeparator();
    NameButton(bar, m_cityFilterAction, "cityFilterButton");
    NameButton(bar, m_cheapestOnlyAction, "cheapestButton");
    // No prompt and no tooltip of their own.
    AddLabel(bar, "categoryLabel", QStringLiteral("種別で絞り込み"), 85, QString());
    m_categoryCombo =
        AddChoiceBox(bar, "categoryCombo", CategoryChoices(), 150, QString(), QString());
    m_categoryCombo->setMaxVisibleItems(20);
}
