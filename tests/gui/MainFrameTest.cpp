// The main window's menus, toolbars, status bar and size.

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <tuple>

#include "MainWindowTestSupport.h"

namespace {

// The menu items in order, a separator as "-".
std::vector<QString> MenuTexts(const QMenuBar* bar, int menu) {
    std::vector<QString> texts;
    for (QAction* item : bar->actions()[menu]->menu()->actions())
        texts.push_back(item->isSeparator() ? QStringLiteral("-") : item->text());
    return texts;
}

TEST_F(ProductWindowTest, MenusCarryTheCommandsWithTheirMnemonics) {
    const QMenuBar* bar = m_frame->menuBar();
    ASSERT_EQ(bar->actions().size(), 3);
    EXPECT_EQ(bar->actions()[0]->text(), QStringLiteral("ﾌｧｲﾙ(&F)"));
    EXPECT_EQ(MenuTexts(bar, 0),
              (std::vector<QString>{"絞り込み開始(&N)", "絞り込み解除(&C)", "-",
                                    "都市名で絞り込み(&T)...", "最安値の商品のみ表示(&M)", "-",
                                    "商品ﾘｽﾄを更新(&R)...", "ｱﾌﾟﾘｹｰｼｮﾝ設定(&S)...", "-",
                                    "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}));
    EXPECT_FALSE(m_frame->findChild<QAction*>(QStringLiteral("settingsAction"))->isEnabled());
    EXPECT_EQ(bar->actions()[1]->text(), QStringLiteral("表示(&V)"));
    EXPECT_EQ(MenuTexts(bar, 1), (std::vector<QString>{"ﾂｰﾙ ﾊﾞｰ(&T)", "ｽﾃｰﾀｽ ﾊﾞｰ(&S)"}));
    EXPECT_EQ(bar->actions()[2]->text(), QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    EXPECT_EQ(MenuTexts(bar, 2), std::vector<QString>{"Veradune のﾊﾞｰｼﾞｮﾝ情報(&A)..."});
}

TEST_F(ProductWindowTest, ToolbarsStatusBarAndSize) {
    m_frame->show();
    EXPECT_EQ(m_frame->size(), QSize(900, 800));
    EXPECT_EQ(m_frame->minimumSize(), QSize(900, 800));
    // Control, width, prompt, tooltip.
    const std::tuple<const char*, int, const char*, const char*> controls[] = {
        {"nameLabel", 95, "商品名で絞り込み", "商品名で絞り込み"},
        {"nameCombo", 150, "商品名で絞り込み", "ここに絞り込む商品名を入力"},
        {"priceLabel", 65, "販売価格で絞り込み", "販売価格で絞り込み"},
        {"priceEdit", 80, "販売価格で絞り込み", "ここに絞り込む販売価格を入力"},
        {"priceConditionCombo", 70, "販売価格で絞り込み", "絞り込む条件を選択"},
        {"stockLabel", 55, "在庫数で絞り込み", "在庫数で絞り込み"},
        {"stockEdit", 80, "在庫数で絞り込み", "ここに絞り込む在庫数を入力"},
        {"stockConditionCombo", 70, "在庫数で絞り込み", "絞り込む条件を選択"},
        {"categoryLabel", 85, "", ""},
        {"categoryCombo", 150, "", ""},
    };
    for (const auto& [name, width, prompt, tip] : controls) {
        SCOPED_TRACE(name);
        const QWidget* control = m_frame->findChild<QWidget*>(QLatin1String(name));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->width(), width);
        EXPECT_EQ(control->statusTip(), QString::fromUtf8(prompt));
        EXPECT_EQ(control->toolTip(), QString::fromUtf8(tip));
    }
    EXPECT_EQ(m_frame->PriceConditionCombo().itemText(2), QStringLiteral("と等しい"));
    EXPECT_EQ(m_frame->PriceConditionCombo().currentIndex(), -1);
    EXPECT_EQ(m_frame->CheapestOnlyAction().statusTip(),
              QStringLiteral("最安値の商品のみ表示する"));
    EXPECT_EQ(m_frame->CheapestOnlyAction().toolTip(), QStringLiteral("最安値の商品のみ表示"));

    // The prompts show in the message pane, which is otherwise one blank.
    QStatusTipEvent prompt(QStringLiteral("絞り込み開始"));
    QApplication::sendEvent(m_frame.get(), &prompt);
    EXPECT_EQ(m_frame->statusBar()->currentMessage(), QStringLiteral("絞り込み開始"));
    QStatusTipEvent idle{QString()};
    QApplication::sendEvent(m_frame.get(), &idle);
    EXPECT_EQ(m_frame->statusBar()->currentMessage(), QStringLiteral(" "));

    // The two bars lie in rows of their own, the filter toolbar above.
    EXPECT_GE(m_frame->OptionToolBar().y(),
              m_frame->FilterToolBar().y() + m_frame->FilterToolBar().height());
    // The toolbar item of the view menu hides the filter toolbar only.
    m_frame->findChild<QAction*>(QStringLiteral("toolBarAction"))->trigger();
    EXPECT_FALSE(m_frame->FilterToolBar().isVisible());
    EXPECT_TRUE(m_frame->OptionToolBar().isVisible());
    m_frame->findChild<QAction*>(QStringLiteral("statusBarAction"))->trigger();
    EXPECT_FALSE(m_frame->statusBar()->isVisible());
}

}  // namespace
