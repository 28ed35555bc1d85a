// Starting and closing the program, and the update command.

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <csignal>

#include "MainWindowTestSupport.h"
#include "PageGenerator.h"
#include "acquire/DownloadDialog.h"
#include "acquire/PagePaths.h"
#include "app/AboutDialog.h"
#include "app/VeraduneApp.h"
#include "config/DownloadSettingsDialog.h"
#include "listview/ProductFilter.h"
#include "listview/ProductSort.h"
#include "portal/PortalServer.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

// Whether the list shows exactly `expected`, row by row and cell by cell.
void ExpectRows(const CMainFrame& frame, const std::vector<ProductRecord>& expected) {
    const ProductTableModel& model = frame.View().List().Model();
    ASSERT_EQ(model.rowCount(), static_cast<int>(expected.size()));
    for (int row = 0; row < model.rowCount(); ++row)
        for (int column = 0; column < kColumnCount; ++column)
            ASSERT_EQ(model.index(row, column).data().toString(),
                      ToQString(CellText(expected[row], column)))
                << "row " << row << " column " << column;
}

class MainWindowTest : public WorkingFolderTest {
protected:
    void SetUp() override {
        WorkingFolderTest::SetUp();
        SetModalHandler([this](QDialog& dialog) { return Answer(dialog); });
    }
    void TearDown() override {
        if (m_portal) m_portal->Stop();
        WorkingFolderTest::TearDown();
    }

    // The download dialog runs for real; the settings dialog is answered.
    int Answer(QDialog& dialog) {
        if (qobject_cast<DownloadDialog*>(&dialog)) return dialog.exec();
        if (qobject_cast<DownloadSettingsDialog*>(&dialog)) {
            ++m_settingsShown;
            if (m_onSettings) m_onSettings(dialog);
            m_acceptSettings ? dialog.accept() : dialog.reject();
            return dialog.result();
        }
        if (qobject_cast<AboutDialog*>(&dialog)) {
            m_aboutShown = {dialog.windowTitle(),
                            dialog.findChild<QLabel*>(QStringLiteral("versionLabel"))->text()};
            return int(QDialog::Accepted);
        }
        ADD_FAILURE() << "unexpected dialog " << dialog.windowTitle().toStdString();
        return QDialog::Rejected;
    }

    // Saved pages of a generated portal; returns its products in parse order.
    static std::vector<ProductRecord> SavePages(std::uint64_t seed, int shops, int perShop) {
        const GeneratedPortal portal = GeneratePortal(seed, shops, perShop);
        EXPECT_TRUE(WritePortal(portal, kDownloadFolder));
        return AllProducts(portal);
    }

    int m_settingsShown = 0;
    bool m_acceptSettings = false;
    std::function<void(QDialog&)> m_onSettings;
    std::unique_ptr<portal::PortalServer> m_portal;
    std::vector<QString> m_aboutShown;  // caption and version line
};

TEST_F(MainWindowTest, StartsFromTheSavedPagesInTheSavedOrder) {
    std::vector<ProductRecord> expected = SavePages(7, 20, 6);
    ConfigStore settings;
    settings.sortColumn = kColumnPrice;
    settings.sortOrder = kSortDescending;
    settings.lastUpdate = "2024/01/02 03:04:05";
    settings.searchHistory = {S("ワイン"), S("絹")};
    settings.cityEnabled[0] = 0;
    ASSERT_TRUE(settings.Save(kConfigFileName));
    const std::string fileBefore = ReadBytes(kConfigFileName);

    const std::unique_ptr<CMainFrame> frame = InitInstance();
    ASSERT_TRUE(frame);
    EXPECT_EQ(m_settingsShown, 0) << "no download without need";
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Veradune ver1.0.0.1"));
    EXPECT_EQ(frame->View().products.size(), expected.size());

    SortProducts(expected, {kColumnPrice, kSortDescending});
    std::erase_if(expected,
                  [](const ProductRecord& p) { return p.cityName == CityTable()[0].name; });
    ExpectRows(*frame, expected);
    EXPECT_EQ(PaneText(*frame, "hitPane"),
              QStringLiteral("%1件ヒットしました").arg(expected.size()));
    EXPECT_EQ(PaneText(*frame, "lastUpdatePane"),
              QStringLiteral("最終更新日時：2024/01/02 03:04:05"));
    EXPECT_EQ(HeaderText(*frame, kColumnPrice), QStringLiteral("販売価格 ▼"));
    EXPECT_EQ(HeaderText(*frame, kColumnCityName), QStringLiteral("都市名"));
    QComboBox& names = frame->NameCombo();
    ASSERT_EQ(names.count(), 2);
    EXPECT_EQ(names.itemText(0), QStringLiteral("絹"));
    EXPECT_EQ(names.itemText(1), QStringLiteral("ワイン"));
    EXPECT_EQ(names.currentText(), QString());
    EXPECT_FALSE(frame->ClearFilterAction().isEnabled());
    EXPECT_EQ(ReadBytes(kConfigFileName), fileBefore) << "written only at close";
}

TEST_F(MainWindowTest, FirstStartAsksForTheAccountAndCancelLeavesAnEmptyList) {
    const std::unique_ptr<CMainFrame> frame = InitInstance();
    ASSERT_TRUE(frame);
    EXPECT_EQ(m_settingsShown, 1);
    EXPECT_TRUE(fs::is_directory(kDownloadFolder));
    EXPECT_EQ(frame->View().List().Model().rowCount(), 0);
    EXPECT_EQ(PaneText(*frame, "hitPane"), QString());
    EXPECT_EQ(PaneText(*frame, "lastUpdatePane"), QString());
    EXPECT_FALSE(fs::exists(kConfigFileName));

    frame->close();
    EXPECT_EQ(SavedSettings(), ConfigStore());
}

TEST_F(MainWindowTest, ClosingSavesTheChangedChoices) {
    SavePages(3, 13, 3);
    const std::unique_ptr<CMainFrame> frame = InitInstance();
    ASSERT_TRUE(frame);
    frame->View().OnColumnClick(kColumnStock);
    frame->View().OnColumnClick(kColumnStock);
    frame->NameCombo().setEditText(QStringLiteral("剣"));
    frame->findChild<QAction*>(QStringLiteral("startFilterAction"))->trigger();
    SetModalHandler([](QDialog& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("clearAllButton"))->click();
        dialog.findChild<QCheckBox*>(QStringLiteral("cityCheck4"))->setChecked(true);
        dialog.accept();
        return dialog.result();
    });
    frame->findChild<QAction*>(QStringLiteral("cityFilterAction"))->trigger();

    frame->findChild<QAction*>(QStringLiteral("exitAction"))->trigger();
    EXPECT_FALSE(frame->isVisible());
    const ConfigStore saved = SavedSettings();
    EXPECT_EQ(saved.sortColumn, kColumnStock);
    EXPECT_EQ(saved.sortOrder, kSortDescending);
    EXPECT_EQ(saved.searchHistory, std::vector<std::string>{S("剣")});
    CityFlags onlyAmsterdam{};
    onlyAmsterdam[4] = 1;
    EXPECT_EQ(saved.cityEnabled, onlyAmsterdam);
}

TEST_F(MainWindowTest, UpdateCommandReloadsFromThePortal) {
    SavePages(5, 13, 2);
    const std::unique_ptr<CMainFrame> frame = InitInstance();
    ASSERT_TRUE(frame);
    const std::vector<std::string> oldRows = ShownTags(*frame);
    const GeneratedPortal served = GeneratePortal(6, 15, 3);
    m_portal = std::make_unique<portal::PortalServer>(
        std::shared_ptr<const portal::PageSource>(portal::MakeGeneratedPageSource(served)),
        portal::PortalSettings());
    ASSERT_TRUE(m_portal->Start(0));
    DownloadDialog::SetHostOverride(m_portal->HostPort());
    DownloadDialog::SetClock([] { return std::string("2030/01/01 00:00:00"); });
    QAction* update = frame->findChild<QAction*>(QStringLiteral("updateListAction"));

    // Cancelled in the settings dialog: nothing changes.
    update->trigger();
    EXPECT_EQ(m_settingsShown, 1);
    EXPECT_EQ(ShownTags(*frame), oldRows);
    EXPECT_EQ(PaneText(*frame, "lastUpdatePane"), QStringLiteral("最終更新日時："));

    m_acceptSettings = true;
    m_onSettings = [](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("portalIdEdit"))->setText(QStringLiteral("me"));
        dialog.findChild<QLineEdit*>(QStringLiteral("portalPasswordEdit"))
            ->setText(QStringLiteral("secret"));
    };
    update->trigger();
    std::vector<ProductRecord> expected = AllProducts(served);
    SortProducts(expected, SortKey());
    ExpectRows(*frame, expected);
    EXPECT_EQ(PaneText(*frame, "lastUpdatePane"),
              QStringLiteral("最終更新日時：2030/01/01 00:00:00"));

    frame->close();
    const std::string file = ReadBytes(kConfigFileName);
    EXPECT_NE(file.find("\"me\""), std::string::npos);
    EXPECT_EQ(file.find("secret"), std::string::npos) << "the portal password is never saved";
    EXPECT_EQ(SavedSettings().lastUpdate, "2030/01/01 00:00:00");
}

TEST_F(MainWindowTest, TerminationSignalClosesTheWindowAndSaves) {
    SavePages(3, 13, 2);
    const std::unique_ptr<CMainFrame> frame = InitInstance();
    ASSERT_TRUE(frame);
    frame->View().OnColumnClick(kColumnPrice);
    std::raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->IsClosed(); }, 5000));
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(SavedSettings().sortColumn, kColumnPrice);
}

TEST_F(MainWindowTest, TerminationSignalDuringStartUpEndsWithoutAWindow) {
    m_onSettings = [](QDialog& dialog) {
        std::raise(SIGTERM);
        // The request arrives while the dialog waits for the user, and closes it.
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    };
    m_acceptSettings = false;
    EXPECT_EQ(InitInstance(), nullptr);
    EXPECT_EQ(m_settingsShown, 1);
    EXPECT_EQ(SavedSettings(), ConfigStore());
}

TEST_F(MainWindowTest, AboutBoxShowsTheVersion) {
    fs::create_directory(kDownloadFolder);  // nothing saved: the list stays empty
    const std::unique_ptr<CMainFrame> frame = InitInstance();
    ASSERT_TRUE(frame);
    frame->AboutAction().trigger();
    ASSERT_EQ(m_aboutShown.size(), 2u);
    EXPECT_EQ(m_aboutShown[0], QStringLiteral("Veraduneのﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(m_aboutShown[1], QStringLiteral("Veradune ver1.0.0.1"));
}

}  // namespace
