// What the user sees when filtering with the toolbar inputs, the cheapest-only
// switch and the city dialog.

#include <QCheckBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <algorithm>

#include "MainWindowTestSupport.h"
#include "listview/CityFilterDialog.h"

namespace {

using Tags = std::vector<std::string>;

std::vector<ProductRecord> Goods() {
    return {
        Offer("絹織物", "織物", 5, 1000, "セビリア"),
        Offer("上質な絹織物", "織物", 0, 2500, "リスボン"),
        Offer("ワイン", "酒類", 12, 300, "セビリア"),
        Offer("ワイン", "酒類", 3, 200, "ロンドン"),
        Offer("カルバリン砲", "砲種", 1, 999, "カリカット"),
        Offer("交易品の箱", "交易品", 7, 0, "ロンドン"),
    };
}

const Tags kAllGoods = {"絹織物@セビリア", "上質な絹織物@リスボン",   "ワイン@セビリア",
                        "ワイン@ロンドン", "カルバリン砲@カリカット", "交易品の箱@ロンドン"};

class FilterCommandsTest : public ProductWindowTest {
protected:
    void SetUp() override {
        ProductWindowTest::SetUp();
        Show(Goods());
    }

    void SetInputs(const QString& name, const QString& price, int priceCondition,
                   const QString& stock, int stockCondition) {
        m_frame->NameCombo().setEditText(name);
        m_frame->PriceEdit().setText(price);
        m_frame->PriceConditionCombo().setCurrentIndex(priceCondition);
        m_frame->StockEdit().setText(stock);
        m_frame->StockConditionCombo().setCurrentIndex(stockCondition);
    }

    // Opens the city dialog with `answer` working it; returns the dialog's result.
    int RunCityDialog(const std::function<void(CityFilterDialog&)>& answer) {
        int result = -1;
        SetModalHandler([&](QDialog& dialog) {
            auto& cities = dynamic_cast<CityFilterDialog&>(dialog);
            EXPECT_EQ(cities.windowTitle(), QStringLiteral("都市名で絞り込む"));
            answer(cities);
            result = dialog.result();
            return result;
        });
        Trigger("cityFilterAction");
        return result;
    }

    static void Click(QDialog& dialog, const char* button) {
        dialog.findChild<QPushButton*>(QLatin1String(button))->click();
    }
};

TEST_F(FilterCommandsTest, ToolbarInputsFilterOnlyWhenStarted) {
    struct Case {
        const char* name;
        const char* price;
        int priceCondition;
        const char* stock;
        int stockCondition;
        Tags shown;
    };
    const Case cases[] = {
        {"絹織物", "", -1, "", -1, {"絹織物@セビリア", "上質な絹織物@リスボン"}},
        {"絹 上質", "", -1, "", -1, {"上質な絹織物@リスボン"}},
        {"絹  上質", "", -1, "", -1, {"上質な絹織物@リスボン"}},
        {" ワイン", "", -1, "", -1, {"ワイン@セビリア", "ワイン@ロンドン"}},
        {"", "1000", 0, "", -1, {"絹織物@セビリア", "上質な絹織物@リスボン"}},
        {"", "999", 2, "", -1, {"カルバリン砲@カリカット"}},
        {"", "abc", 2, "", -1, {"交易品の箱@ロンドン"}},  // no digits read as 0
        {"", "1000", -1, "", -1, kAllGoods},              // a price without a condition
        {"", "", 1, "", -1, kAllGoods},                   // a condition without a price
        {"", "-5", 1, "", -1, kAllGoods},                 // a negative price switches off
        {"",
         "",
         -1,
         "3",
         1,
         {"上質な絹織物@リスボン", "ワイン@ロンドン", "カルバリン砲@カリカット"}},
        {"ワイン", "250", 0, "10", 0, {"ワイン@セビリア"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " / " + c.price + " / " + c.stock);
        SetInputs(QString::fromUtf8(c.name), QString::fromUtf8(c.price), c.priceCondition,
                  QString::fromUtf8(c.stock), c.stockCondition);
        Trigger("startFilterAction");
        EXPECT_EQ(ShownTags(*m_frame), c.shown);
        EXPECT_EQ(PaneText(*m_frame, "hitPane"),
                  QStringLiteral("%1件ヒットしました").arg(c.shown.size()));
    }

    // Typing alone changes nothing.
    Trigger("clearFilterAction");
    QTest::keyClicks(m_frame->NameCombo().lineEdit(), QStringLiteral("xyz"));
    QTest::keyClicks(&m_frame->PriceEdit(), QStringLiteral("1"));
    EXPECT_EQ(ShownTags(*m_frame), kAllGoods);
}

TEST_F(FilterCommandsTest, ChoosingACategoryFiltersAtOnce) {
    QComboBox& category = m_frame->CategoryCombo();
    EXPECT_EQ(category.count(), 45);
    EXPECT_EQ(category.currentIndex(), -1);
    QTest::keyClick(&category, Qt::Key_Down);  // the blank entry: no category filter
    EXPECT_EQ(ShownTags(*m_frame), kAllGoods);
    EXPECT_EQ(View().filterActive, 0);
    QTest::keyClick(&category, Qt::Key_Down);
    ASSERT_EQ(category.currentText(), QStringLiteral("交易品（全て）"));
    EXPECT_EQ(ShownTags(*m_frame), (Tags{"絹織物@セビリア", "上質な絹織物@リスボン",
                                         "ワイン@セビリア", "ワイン@ロンドン"}));
    EXPECT_TRUE(m_frame->ClearFilterAction().isEnabled());
}

TEST_F(FilterCommandsTest, SearchedNamesEnterTheHistoryOnceAtTheTop) {
    for (const char* name : {"ワイン", "", "絹", "ワイン"}) {
        m_frame->NameCombo().setEditText(QString::fromUtf8(name));
        Trigger("startFilterAction");
    }
    EXPECT_EQ(theConfig.searchHistory, (std::vector<std::string>{S("ワイン"), S("絹")}));
    QComboBox& names = m_frame->NameCombo();
    ASSERT_EQ(names.count(), 2);
    EXPECT_EQ(names.itemText(0), QStringLiteral("絹"));
    EXPECT_EQ(names.itemText(1), QStringLiteral("ワイン"));
    EXPECT_EQ(names.currentText(), QStringLiteral("ワイン")) << "the typed text stays";
}

TEST_F(FilterCommandsTest, ClearFilterIsOfferedOnlyWhileAFilterIsSet) {
    QAction& clear = m_frame->ClearFilterAction();
    EXPECT_FALSE(clear.isEnabled());
    SetInputs(QStringLiteral("ワイン"), QStringLiteral("100"), 0, QString(), -1);
    m_frame->CategoryCombo().setCurrentIndex(1);
    theConfig.cityEnabled[FindCityIndex(S("ロンドン"))] = 0;
    Trigger("cheapestOnlyAction");
    EXPECT_TRUE(clear.isEnabled());
    EXPECT_EQ(ShownTags(*m_frame), Tags{"ワイン@セビリア"});

    clear.trigger();
    EXPECT_FALSE(clear.isEnabled());
    EXPECT_EQ(View().filterActive, 0);
    EXPECT_EQ(m_frame->NameCombo().currentText(), QString());
    EXPECT_EQ(m_frame->PriceEdit().text(), QString());
    EXPECT_EQ(m_frame->PriceConditionCombo().currentIndex(), -1);
    EXPECT_EQ(m_frame->CategoryCombo().currentIndex(), -1);
    EXPECT_FALSE(m_frame->CheapestOnlyAction().isChecked());
    EXPECT_EQ(View().cheapestOnly, 0);
    EXPECT_EQ(theConfig.searchHistory, std::vector<std::string>{S("ワイン")});
    // The city flags stay in force.
    EXPECT_EQ(ShownTags(*m_frame), (Tags{"絹織物@セビリア", "上質な絹織物@リスボン",
                                         "ワイン@セビリア", "カルバリン砲@カリカット"}));

    // Filtering with every input empty is no filter either.
    Trigger("startFilterAction");
    EXPECT_FALSE(clear.isEnabled());
}

TEST_F(FilterCommandsTest, CheapestOnlyToggleAndItsCheckMark) {
    QAction& cheapest = m_frame->CheapestOnlyAction();
    auto* button = m_frame->findChild<QToolButton*>(QStringLiteral("cheapestButton"));
    ASSERT_NE(button, nullptr);
    button->click();
    EXPECT_TRUE(cheapest.isChecked());
    EXPECT_TRUE(button->isChecked());
    EXPECT_EQ(View().cheapestOnly, 1);
    Tags shown = ShownTags(*m_frame);
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (Tags{"カルバリン砲@カリカット", "ワイン@ロンドン", "上質な絹織物@リスボン",
                           "交易品の箱@ロンドン", "絹織物@セビリア"}));

    cheapest.trigger();  // the menu item
    EXPECT_FALSE(button->isChecked());
    EXPECT_EQ(View().cheapestOnly, 0);
    EXPECT_EQ(ShownTags(*m_frame), kAllGoods);
}

TEST_F(FilterCommandsTest, CityDialogChangesTheFlagsOnlyAtOk) {
    theConfig.cityEnabled[FindCityIndex(S("リスボン"))] = 0;
    Show(Goods());
    // Opens with the flags as boxes; "select all" then Cancel changes nothing and
    // does not filter again.
    View().products.push_back(Offer("胡椒", "香辛料", 1, 10, "ナポリ"));
    const CityFlags before = theConfig.cityEnabled;
    EXPECT_EQ(
        RunCityDialog([](CityFilterDialog& dialog) {
            EXPECT_FALSE(dialog.findChild<QCheckBox*>(QStringLiteral("cityCheck1"))->isChecked());
            EXPECT_TRUE(dialog.findChild<QCheckBox*>(QStringLiteral("cityCheck0"))->isChecked());
            Click(dialog, "selectAllButton");
            Click(dialog, "cancelButton");
        }),
        QDialog::Rejected);
    EXPECT_EQ(theConfig.cityEnabled, before);
    EXPECT_EQ(ShownTags(*m_frame).size(), 5u);

    // OK without a change filters again.
    EXPECT_EQ(RunCityDialog([](CityFilterDialog& dialog) { Click(dialog, "okButton"); }),
              QDialog::Accepted);
    EXPECT_EQ(theConfig.cityEnabled, before);
    EXPECT_EQ(ShownTags(*m_frame).size(), 6u);

    // "Clear all" then OK stores thirteen zeros and empties the list.
    RunCityDialog([](CityFilterDialog& dialog) {
        Click(dialog, "clearAllButton");
        Click(dialog, "okButton");
    });
    EXPECT_EQ(theConfig.cityEnabled, CityFlags{});
    EXPECT_TRUE(ShownTags(*m_frame).empty());
    EXPECT_EQ(PaneText(*m_frame, "hitPane"), QStringLiteral("0件ヒットしました"));
    // The status bar's progress spans every record examined and rests at 0.
    const auto* progress = m_frame->findChild<QProgressBar*>(QStringLiteral("statusProgress"));
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->maximum(), static_cast<int>(View().products.size()));
    EXPECT_EQ(progress->value(), 0);

    // Single boxes, in CityTable order.
    RunCityDialog([](CityFilterDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QCheckBox*>(QStringLiteral("cityCheck12"))->text(),
                  QStringLiteral("カリカット"));
        dialog.findChild<QCheckBox*>(QStringLiteral("cityCheck12"))->setChecked(true);
        Click(dialog, "okButton");
    });
    EXPECT_EQ(ShownTags(*m_frame), Tags{"カルバリン砲@カリカット"});
}

}  // namespace
