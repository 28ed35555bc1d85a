// A disk that fills up and places the program may not write to: a write that
// cannot be made fails whole and says why, what was on disk stays whole, and the
// program goes on with the pages on disk.

#include <sys/resource.h>
#include <sys/stat.h>

#include <atomic>

#include "abrupt/Victim.h"
#include "acquire/JobReporter.h"
#include "app/VeraduneApp.h"
#include "config/ConfigFileWriter.h"
#include "gui/GuiTestSupport.h"
#include "platform/Files.h"
#include "support/RecordTexts.h"
#include "support/TestFiles.h"

namespace {

// The portal's shop pages changed since the saved ones. The large one (about 40 KB)
// lets a file size limit between the sizes stop it and let the others land.
std::map<int, std::string> NewShops() {
    std::vector<std::pair<std::string, int>> many;
    for (int i = 0; i < 160; ++i) many.push_back({"品" + std::to_string(i), i});
    return {{11, ShopPage("東商会", "セビリア", {{"小麦", 301}})},
            {12, ShopPage("西商会", "セビリア", many)},
            {13, ShopPage("南商会", "カリカット", {{"胡椒", 401}})}};
}

struct Confinement {
    const char* name;
    rlim_t fileLimit;      // bytes a file may grow to
    const char* readOnly;  // a folder made read-only, in the working folder; null: none
    bool settingsSaved;
    int newPages;  // shop pages the download replaces
    // Whether the download ends with OK: it does when it could fetch and stage a
    // page. A new set that cannot be moved over the saved one waits beside it,
    // and is what is read from then on.
    bool downloaded;
    bool newSetWaits = false;
};

class UnwritableTest : public GuiTest, public ::testing::WithParamInterface<Confinement> {};

INSTANTIATE_TEST_SUITE_P(
    Places, UnwritableTest,
    ::testing::Values(Confinement{"FullDisk", 100, nullptr, false, 0, false},
                      Confinement{"DiskFillingUp", 8192, nullptr, true, 2, true},
                      Confinement{"ReadOnlyWorkingFolder", RLIM_INFINITY, ".", false, 0, false},
                      Confinement{"ReadOnlyDownloadFolder", RLIM_INFINITY, kDownloadFolder, true, 0,
                                  true, true}),
    [](const auto& info) { return std::string(info.param.name); });

// The settings are saved and the pages downloaded over those of an earlier run.
TEST_P(UnwritableTest, KeepsWhatWasOnDiskWhole) {
    const Confinement& c = GetParam();
    const WorkingFolder& work = m_context.folder;
    SavePortalPages();
    ASSERT_TRUE(ConfigStore().Save(work.ConfigPath()));
    const std::string settingsBefore = ReadBytes(work.ConfigPath());
    const std::vector<std::string> files = FolderEntries(work.Root());
    const std::vector<std::string> pages = FolderEntries(work.DownloadFolder());
    StartPortal(std::make_shared<portal::MemoryPageSource>(ThreeShopCities(), NewShops()));
    const std::string readOnly = c.readOnly ? work.PathOf(c.readOnly) : "";
    const std::string result =
        ChildProgramOutput({VERADUNE_ABRUPT_VICTIM_PATH, "--confined", std::to_string(c.fileLimit),
                            readOnly, work.Root(), m_context.portalHost});
    if (!readOnly.empty()) ::chmod(readOnly.c_str(), 0755);
    if (result == kUnconfined)
        GTEST_SKIP() << "no read-only folder here: root ignores file modes and may not mount";
    const std::string reason = result.substr(0, result.find('\n'));
    EXPECT_EQ(reason.empty(), c.settingsSaved) << "the reason given: " << reason;
    EXPECT_EQ(ReadBytes(work.ConfigPath()),
              c.settingsSaved ? SerializeConfig(LongHistorySettings()) : settingsBefore);
    std::vector<std::string> expectedFiles = files;
    if (c.newSetWaits) expectedFiles.push_back("DownloadFiles.staging");
    EXPECT_EQ(FolderEntries(work.Root()), expectedFiles);
    EXPECT_EQ(FolderEntries(work.DownloadFolder()), pages) << "a temporary file is left";
    const auto saved = [&](const std::string& name) {
        return ReadBytes(platform::JoinPath(work.DownloadFolder(), name));
    };
    for (const auto& [id, page] : ThreeShopCities()) EXPECT_EQ(saved(CityPageFileName(id)), page);
    int replaced = 0;
    for (const auto& [id, page] : NewShops()) {
        const std::string onDisk = saved(ShopPageFileName(id));
        EXPECT_TRUE(onDisk == page || onDisk == ThreeShopShops().at(id))
            << "page " << id << " is neither version whole: " << onDisk.size() << " bytes";
        replaced += onDisk == page;
    }
    EXPECT_EQ(replaced, c.newPages);
    // An OK job found what a parse of the pages on disk finds.
    SilentJobReporter reporter;
    const std::atomic<bool> cancel{false};
    DownloadJob parse(work.DownloadFolder(), DownloadSource{}, reporter, cancel);
    EXPECT_EQ(result.substr(reason.size() + 1), c.downloaded ? JobText(parse) : "Cancel");
}

// "DownloadFiles" a plain file: no page can be saved there, but the program starts,
// the update command asks for the account and shows what it fetched, and the
// settings are saved; the file stays as it was.
using DownloadFilesTest = GuiTest;

TEST_F(DownloadFilesTest, ProgramRunsWithAPlainFileInItsPlace) {
    StartPortal();
    std::ofstream(m_context.folder.DownloadFolder()) << "not a folder";
    const auto frame = InitInstance(m_context);
    ASSERT_TRUE(frame);
    Trigger(*frame, "updateListAction");
    // No error box: a page that cannot be saved is no network error.
    EXPECT_EQ(m_shown, (std::vector<std::string>{kProgressTitle, kSettingsTitle, kProgressTitle}));
    EXPECT_EQ(Shown(*frame, kColumnProductName).size(), 5);
    frame->close();
    EXPECT_EQ(SavedSettings().lastUpdate, kNow);
    EXPECT_EQ(ReadBytes(m_context.folder.DownloadFolder()), "not a folder");
}

}  // namespace
