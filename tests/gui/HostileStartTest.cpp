// Starting the program over a hostile Config.xml: the window comes up with the
// defaults or what the file held, and closing it writes a sound file.

#include <fstream>

#include "MainWindowTestSupport.h"
#include "acquire/DownloadDialog.h"
#include "acquire/PagePaths.h"
#include "app/VeraduneApp.h"
#include "support/HandMadePages.h"

namespace {

class HostileStartTest : public WorkingFolderTest {
protected:
    void SetUp() override {
        WorkingFolderTest::SetUp();
        // Only the re-parse of the saved pages may open a dialog.
        SetModalHandler([](QDialog& dialog) {
            if (qobject_cast<DownloadDialog*>(&dialog)) return dialog.exec();
            ADD_FAILURE() << "unexpected dialog " << dialog.windowTitle().toStdString();
            return int(QDialog::Rejected);
        });
        std::filesystem::create_directory(kDownloadFolder);
        Save(CityPageFileName(1), CityPage({{12, "東商会"}}));
        Save(ShopPageFileName(12), ShopPage("東商会", "セビリア", {{"小麦", 100}, {"塩", 20}}));
    }

    static void Save(const std::string& name, const std::string& bytes) {
        std::ofstream(std::filesystem::path(kDownloadFolder) / name, std::ios::binary) << bytes;
    }
    static void WriteConfig(const std::string& bytes) {
        std::ofstream(kConfigFileName, std::ios::binary) << bytes;
    }
    // The settings in memory, without the company list that the start rebuilt.
    static ConfigStore Settings() {
        ConfigStore settings = theConfig;
        settings.companies.clear();
        return settings;
    }
};

TEST_F(HostileStartTest, AFileThatIsNoXmlGivesTheDefaultsAndIsRewrittenAtClose) {
    WriteConfig("\x89PNG\r\n\x1A\n<veradune><harvala_info id=\"x\"");
    const std::unique_ptr<CMainFrame> frame = InitInstance();
    ASSERT_TRUE(frame);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(Settings() == ConfigStore());
    EXPECT_EQ(ShownTags(*frame), (std::vector<std::string>{"小麦@セビリア", "塩@セビリア"}));
    EXPECT_EQ(HeaderText(*frame, kColumnCityName), QStringLiteral("都市名 ▲"));
    EXPECT_EQ(frame->NameCombo().count(), 0);

    frame->close();
    EXPECT_TRUE(SavedSettings() == ConfigStore());
}

TEST_F(HostileStartTest, AHundredThousandHistoryEntriesFillTheNameBoxAndAreKept) {
    ConfigStore settings;
    for (int i = 0; i < 100000; ++i) settings.searchHistory.push_back(S("品") + std::to_string(i));
    settings.sortColumn = kColumnPrice;
    ASSERT_TRUE(settings.Save(kConfigFileName));

    const std::unique_ptr<CMainFrame> frame = InitInstance();
    ASSERT_TRUE(frame);
    EXPECT_TRUE(Settings() == settings);
    QComboBox& names = frame->NameCombo();
    ASSERT_EQ(names.count(), 100000);
    EXPECT_EQ(names.itemText(0), QStringLiteral("品99999"));
    EXPECT_EQ(names.itemText(99999), QStringLiteral("品0"));
    EXPECT_EQ(names.currentText(), QString());
    EXPECT_EQ(ShownTags(*frame), (std::vector<std::string>{"塩@セビリア", "小麦@セビリア"}));

    frame->close();
    EXPECT_EQ(SavedSettings().searchHistory, settings.searchHistory);
}

}  // namespace
