// An update of the product list cancelled at a random moment of any pass leaves the
// main window's list showing the rows it showed, from the products it had.

#include <gtest/gtest.h>

#include <QAction>
#include <random>

#include "AccountAnswers.h"
#include "DownloadCanceller.h"
#include "MainWindowTestSupport.h"
#include "PageGenerator.h"
#include "acquire/PagePaths.h"
#include "app/VeraduneApp.h"

namespace {

using CancelledUpdateTest = WorkingFolderTest;

TEST_F(CancelledUpdateTest, KeepsTheListAsItWas) {
    ASSERT_TRUE(WritePortal(GeneratePortal(3, 20, 4), kDownloadFolder));
    SetModalHandler(AnswerSettingsUnchanged);
    const std::unique_ptr<CMainFrame> frame = InitInstance();
    ASSERT_TRUE(frame);
    const std::vector<std::string> rowsBefore = ShownTags(*frame);
    ASSERT_FALSE(rowsBefore.empty());
    const std::vector<ProductRecord> productsBefore = frame->View().products;
    const std::vector<CompanyEntry> companiesBefore = theConfig.companies;
    const std::string lastUpdateBefore = theConfig.lastUpdate;
    const QString paneBefore = PaneText(*frame, "lastUpdatePane");

    const std::unique_ptr<portal::PortalServer> portal = StartSlowPortal();
    ASSERT_TRUE(portal);
    std::mt19937 random(std::random_device{}());
    for (const Way way : {Way::Button, Way::Escape, Way::CloseBox}) {
        for (const Pass pass : {Pass::City, Pass::Shop, Pass::Parse}) {
            SCOPED_TRACE(std::string(WayName(way)) + " in the " + PassName(pass) + " pass");
            const int items = pass == Pass::City ? kCityCount : kSlowPortalShops;
            std::unique_ptr<DownloadCanceller> canceller;
            SetModalHandler([&](QDialog& dialog) {
                if (qobject_cast<DownloadDialog*>(&dialog))
                    canceller = std::make_unique<DownloadCanceller>(
                        dialog, RandomMoment(pass, items, random), way);
                return AnswerSettingsUnchanged(dialog);
            });
            frame->findChild<QAction*>(QStringLiteral("updateListAction"))->trigger();
            ASSERT_TRUE(canceller && canceller->acted);
            canceller.reset();
            EXPECT_EQ(ShownTags(*frame), rowsBefore);
            EXPECT_EQ(frame->View().products, productsBefore);
            EXPECT_EQ(theConfig.companies, companiesBefore);
            EXPECT_EQ(theConfig.lastUpdate, lastUpdateBefore);
            EXPECT_EQ(PaneText(*frame, "lastUpdatePane"), paneBefore);
        }
    }
    portal->Stop();
    frame->close();
}

}  // namespace
