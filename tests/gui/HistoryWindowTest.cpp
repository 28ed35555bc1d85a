// Two downloads in a row: the list marks what changed, filters to it, lists what
// went, and charts one product's prices.

#include <QFileDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "GuiTestSupport.h"
#include "app/VeraduneApp.h"
#include "history/PriceHistory.h"
#include "history/PriceHistoryDialog.h"
#include "listview/ProductTableModel.h"
#include "shopdata/TextConversion.h"
#include "support/TestFiles.h"

namespace {

// The next day: 東商会's 小麦 cheaper and 塩 dearer, 西商会's 砂糖 gone, 真珠 new.
std::shared_ptr<portal::PageSource> NextDay() {
    return std::make_shared<portal::MemoryPageSource>(
        ThreeShopCities(),
        std::map<int, std::string>{
            {11, ShopPage("東商会", "セビリア", {{"小麦", 280}, {"塩", 120}})},
            {12, ShopPage("西商会", "セビリア", {{"小麦", 250}})},
            {13, ShopPage("南商会", "カリカット", {{"胡椒", 400}, {"真珠", 900}})}});
}

using HistoryWindowTest = GuiTest;

TEST_F(HistoryWindowTest, TheSecondDownloadShowsWhatChanged) {
    StartPortal();
    const auto frame = InitInstance(m_context);
    ASSERT_TRUE(frame);
    m_portal->SetPages(NextDay());
    Trigger(*frame, "updateListAction");

    EXPECT_EQ(Shown(*frame, kColumnProductName),
              (QStringList{"胡椒", "真珠", "小麦", "塩", "小麦"}));
    EXPECT_EQ(Shown(*frame, kColumnProductName, ProductTableModel::ChangeMarkRole),
              (QStringList{"", "新", "▼", "▲", ""}));
    EXPECT_EQ(Shown(*frame, kColumnPrice, Qt::ToolTipRole)[3], QStringLiteral("前回の価格：100"));
    EXPECT_EQ(Shown(*frame, kColumnProductName, Qt::BackgroundRole).count("#ffffff"), 2);

    // Only what changed, with every other filter.
    Trigger(*frame, "changedOnlyAction");
    EXPECT_EQ(Shown(*frame, kColumnProductName), (QStringList{"真珠", "小麦", "塩"}));
    Trigger(*frame, "clearFilterAction");

    QStringList gone;
    m_answers["前回から消えた出品"] = [&gone](QDialog& dialog) {
        const auto* model = dialog.findChild<QTableView*>()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            gone.append(model->index(row, kColumnProductName).data().toString() + "@" +
                        model->index(row, kColumnCompanyName).data().toString());
        dialog.reject();
    };
    Trigger(*frame, "goneOffersAction");
    EXPECT_EQ(gone, QStringList{"砂糖@西商会"});

    // Two days of 小麦: the lowest, the lower middle of two, the stock of both shops.
    List(*frame).setCurrentIndex(List(*frame).model()->index(2, 0));
    const QString png = m_folder.filePath("chart.png");
    std::vector<HistoryPoint> points;
    m_answers["価格の推移 - 小麦"] = [&](QDialog& dialog) {
        points = static_cast<PriceHistoryDialog&>(dialog).Points();
        m_answers["画像として保存"] = [&](QDialog& files) {
            static_cast<QFileDialog&>(files).selectFile(png);
            files.accept();
        };
        dialog.findChild<QPushButton*>(QStringLiteral("saveChartButton"))->click();
        dialog.reject();
    };
    Trigger(*frame, "priceHistoryAction");
    EXPECT_EQ(points,
              (std::vector<HistoryPoint>{{kNow, 250, 250, 10, 2}, {kNow, 250, 250, 10, 2}}));
    EXPECT_TRUE(ReadBytes(png.toStdString()).starts_with("\x89PNG"));
}

TEST_F(HistoryWindowTest, SavedPagesStartTheHistoryOnceAndABadFileIsSetAside) {
    SavePortalPages();
    ConfigStore saved;
    saved.lastUpdate = "2024/01/02 03:04:05";
    ASSERT_TRUE(saved.Save(m_context.folder.ConfigPath()));
    std::ofstream(m_context.folder.HistoryPath()) << "not a database";
    for (int start = 0; start < 2; ++start) {
        const auto frame = InitInstance(m_context);
        // The saved pages are recorded behind the list; the chart waits for them.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return frame->findChild<QAction*>("priceHistoryAction")->isEnabled(); }));
        EXPECT_EQ(frame->statusBar()->currentMessage(), " ");
        frame->close();
    }

    ASSERT_EQ(m_told.size(), 1) << "the bad file is set aside once";
    EXPECT_TRUE(m_told[0].startsWith(QStringLiteral("価格の履歴 ")));
    HistoryOpening opening = PriceHistory::Open(m_context.folder.HistoryPath());
    ASSERT_TRUE(opening.history);
    CityFlags all;
    all.fill(true);
    const auto points = opening.history->ProductHistory(ToShiftJis("胡椒"), all);
    ASSERT_EQ(points.size(), 1u) << "recorded at the first start only";
    EXPECT_EQ(points[0].time, "2024/01/02 03:04:05");
}

}  // namespace
