// Places the program may not write to: a read-only "DownloadFiles", a folder or a
// "Config.xml" that cannot be replaced, and "DownloadFiles" being a plain file. The
// program keeps running, reports no write that did not happen and never loses the
// settings file it had. Root ignores file modes, so for root the places are made
// read-only by mounts; for everybody else by taking away the write bits.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <atomic>
#include <cstring>

#include "abrupt/AbruptSupport.h"
#include "abrupt/ScratchMounts.h"
#include "acquire/DownloadJob.h"
#include "acquire/HttpFetcher.h"
#include "acquire/RecordingReporter.h"
#include "app/TheConfig.h"
#include "app/VeraduneApp.h"
#include "listview/CVeraduneView.h"
#include "listview/ProductListCtrl.h"
#include "mainframe/CMainFrame.h"
#include "portal/PortalServer.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using namespace abrupt;

constexpr char kNotAFolder[] = "a plain file where the folder should be";

class ReadOnlyTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = MakeScratchFolder("veradune-readonly-");
        ASSERT_FALSE(m_root.empty());
        m_work = m_root / "work";
        fs::create_directory(m_work);
        m_savedDirectory = fs::current_path();
        fs::current_path(m_work);
        theConfig = ConfigStore();
        QApplication::setQuitOnLastWindowClosed(false);
        DownloadDialog::SetHostOverride("127.0.0.1:1");  // nothing listens there
    }
    void TearDown() override {
        DownloadDialog::SetHostOverride({});
        if (m_portal) m_portal->Stop();
        if (!m_savedDirectory.empty()) fs::current_path(m_savedDirectory);
        theConfig = ConfigStore();
        m_mounts.UnmountAll();
        for (const auto& [path, mode] : m_lockedModes) ::chmod(path.c_str(), mode);
        if (!m_root.empty()) fs::remove_all(m_root);
    }

    // Makes `path` (relative to the working folder) unwritable; false when the test
    // cannot go on (skipped or failed).
    bool Lock(const std::string& path) {
        LockOrSkip((m_work / path).lexically_normal().string());
        return !IsSkipped() && !HasFatalFailure();
    }
    void LockOrSkip(const std::string& path) {
        if (::geteuid() == 0) {
            const int error = m_mounts.MakeReadOnly(path);
            if (MountRefused(error))
                GTEST_SKIP() << "root may not mount here (" << std::strerror(error)
                             << "), and file modes do not stop root";
            ASSERT_EQ(error, 0) << std::strerror(error);
            // Entered anew: the working directory still lies under the mount.
            fs::current_path(m_work);
            return;
        }
        struct stat st;
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        m_lockedModes.push_back({path, st.st_mode & 07777});
        ASSERT_EQ(::chmod(path.c_str(), st.st_mode & 07555), 0);
    }

    // A Config.xml that a changed Save would replace.
    std::string SaveEarlierSettings() {
        ConfigStore earlier;
        earlier.portalId = "earlier";
        earlier.sortColumn = kColumnPrice;
        EXPECT_TRUE(earlier.Save(kConfigFileName));
        return ReadBytes(kConfigFileName);
    }

    static ConfigStore ChangedSettings() {
        ConfigStore changed;
        changed.portalId = "changed";
        return changed;
    }

    std::string StartPortal() {
        m_portal =
            std::make_unique<portal::PortalServer>(NewPortalPages(), portal::PortalSettings());
        EXPECT_TRUE(m_portal->Start(0));
        return m_portal->HostPort();
    }

    fs::path m_root;
    fs::path m_work;
    fs::path m_savedDirectory;
    ScratchMounts m_mounts;
    std::vector<std::pair<std::string, mode_t>> m_lockedModes;
    std::unique_ptr<portal::PortalServer> m_portal;
};

TEST_F(ReadOnlyTest, SettingsSaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
    const std::string before = SaveEarlierSettings();
    if (!Lock(".")) return;
    EXPECT_FALSE(ChangedSettings().Save(kConfigFileName));
    EXPECT_EQ(ReadBytes(kConfigFileName), before);
    EXPECT_EQ(FolderEntries("."), std::vector<std::string>{kConfigFileName});
}

TEST_F(ReadOnlyTest, AReadOnlySettingsFileIsNotReplaced) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only a mount keeps a file from being replaced while its folder is "
                        "writable; that needs root";
    const std::string before = SaveEarlierSettings();
    if (!Lock(kConfigFileName)) return;
    EXPECT_FALSE(ChangedSettings().Save(kConfigFileName));
    EXPECT_EQ(ReadBytes(kConfigFileName), before);
    EXPECT_EQ(FolderEntries("."), std::vector<std::string>{kConfigFileName})
        << "the temporary file of the failed save is left behind";
}

TEST_F(ReadOnlyTest, DownloadIntoAReadOnlyFolderParsesTheEarlierPages) {
    fs::create_directory(kDownloadFolder);
    ASSERT_TRUE(SaveEarlierPages(kDownloadFolder));
    const std::vector<std::string> saved = FolderEntries(kDownloadFolder);
    if (!Lock(kDownloadFolder)) return;

    RecordingNetworkErrors errors;
    const std::atomic<bool> cancel{false};
    HttpFetcher http({}, errors, cancel);
    RecordingFetcher fetcher(http);
    RecordingReporter reporter;
    DownloadJob job(kDownloadFolder, DownloadSource{&fetcher, StartPortal(), "me", "pw"}, reporter,
                    cancel);
    EXPECT_EQ(JobThreadProc(job), 1u);
    EXPECT_EQ(NamesAndPrices(job.Products()), AllEarlierGoods());
    EXPECT_EQ(fetcher.results.size(), kCityCount + CompanyIds().size());
    for (const auto& [path, bytes] : fetcher.results) EXPECT_EQ(bytes, 0u) << path;
    for (const int id : CompanyIds()) EXPECT_EQ(ReadPage(kDownloadFolder, id), EarlierShopPage(id));
    EXPECT_EQ(FolderEntries(kDownloadFolder), saved);
    EXPECT_TRUE(errors.texts.empty()) << errors.texts[0];
}

TEST_F(ReadOnlyTest, DownloadIntoAnEmptyReadOnlyFolderEndsWithCancel) {
    fs::create_directory(kDownloadFolder);
    if (!Lock(kDownloadFolder)) return;
    DialogAnswers answers;
    ExpectDialogCancelsAndChangesNothing(true);
    EXPECT_EQ(answers.settingsShown, 1);
    EXPECT_TRUE(answers.others.empty()) << answers.others[0];
}

TEST_F(ReadOnlyTest, DownloadFilesAsAPlainFileEndsWithCancel) {
    ASSERT_TRUE(platform::WriteFileAtomically(kDownloadFolder, kNotAFolder));
    DialogAnswers answers;
    for (const bool download : {false, true}) {
        SCOPED_TRACE(download ? "download" : "parse only");
        ExpectDialogCancelsAndChangesNothing(download);
    }
    EXPECT_TRUE(answers.others.empty()) << answers.others[0];
    EXPECT_EQ(ReadBytes(kDownloadFolder), kNotAFolder);
    EXPECT_EQ(FolderEntries("."), std::vector<std::string>{kDownloadFolder});
}

int ShownRows(const CMainFrame& frame) {
    return frame.View().List().Model().rowCount();
}

// The program starts, offers the update command and closes; it just finds nothing.
TEST_F(ReadOnlyTest, ProgramRunsWithDownloadFilesAsAPlainFile) {
    SaveEarlierSettings();
    ASSERT_TRUE(platform::WriteFileAtomically(kDownloadFolder, kNotAFolder));
    DialogAnswers answers;
    const std::unique_ptr<CMainFrame> frame = InitInstance();
    ASSERT_TRUE(frame);
    EXPECT_EQ(answers.settingsShown, 0) << "the name exists, so only the saved pages are read";
    EXPECT_EQ(ShownRows(*frame), 0);
    EXPECT_EQ(theConfig.sortColumn, kColumnPrice);

    frame->findChild<QAction*>(QStringLiteral("updateListAction"))->trigger();
    EXPECT_EQ(answers.settingsShown, 1);
    EXPECT_EQ(ShownRows(*frame), 0);
    EXPECT_TRUE(answers.others.empty()) << answers.others[0];

    frame->close();
    ConfigStore saved;
    ASSERT_TRUE(saved.Load(kConfigFileName));
    EXPECT_EQ(saved.portalId, "me");
    EXPECT_EQ(ReadBytes(kDownloadFolder), kNotAFolder);
}

// "DownloadFiles" cannot be created: the start-up asks for a download all the same,
// which finds nothing; closing cannot save, and the old settings file survives.
TEST_F(ReadOnlyTest, ProgramRunsInAReadOnlyFolder) {
    const std::string before = SaveEarlierSettings();
    if (!Lock(".")) return;
    DialogAnswers answers;
    const std::unique_ptr<CMainFrame> frame = InitInstance();
    ASSERT_TRUE(frame);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(answers.settingsShown, 1);
    EXPECT_EQ(ShownRows(*frame), 0);
    EXPECT_FALSE(fs::exists(kDownloadFolder));
    EXPECT_TRUE(answers.others.empty()) << answers.others[0];

    frame->close();
    EXPECT_TRUE(frame->IsClosed());
    EXPECT_EQ(ReadBytes(kConfigFileName), before);
    EXPECT_EQ(FolderEntries("."), std::vector<std::string>{kConfigFileName});
}

}  // namespace
