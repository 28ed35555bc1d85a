// A disk without room (no free block, or no free inode): no write is reported that
// did not happen, what was on disk stays whole, and the download goes on with what
// is there. Each test mounts a tmpfs of its own; without the right to mount they
// are skipped.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "abrupt/AbruptSupport.h"
#include "abrupt/ScratchMounts.h"
#include "acquire/DownloadJob.h"
#include "acquire/HttpFetcher.h"
#include "acquire/PortalQuery.h"
#include "acquire/RecordingReporter.h"
#include "config/ConfigStore.h"
#include "portal/PortalServer.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using namespace abrupt;

// Config.xml, DownloadFiles and a folder for the filler on a tmpfs of their own,
// and a portal whose shop pages are newer than the saved ones.
class DiskTest : public ::testing::Test {
protected:
    void MountDisk(const std::string& options) {
        m_root = MakeScratchFolder("veradune-disk-");
        ASSERT_FALSE(m_root.empty());
        const int error = m_mounts.MountTmpfs(m_root.string(), options);
        if (MountRefused(error))
            GTEST_SKIP() << "mounting a tmpfs is not allowed here (" << std::strerror(error)
                         << "); the full-disk cases need root";
        ASSERT_EQ(error, 0) << std::strerror(error);
        m_downloads = (m_root / kDownloadFolder).string();
        m_config = (m_root / "Config.xml").string();
        fs::create_directory(m_downloads);
        fs::create_directory(m_root / "filler");
        m_portal =
            std::make_unique<portal::PortalServer>(NewPortalPages(), portal::PortalSettings());
        ASSERT_TRUE(m_portal->Start(0));
    }
    void TearDown() override {
        DownloadDialog::SetHostOverride({});
        if (m_portal) m_portal->Stop();
        if (!m_savedDirectory.empty()) fs::current_path(m_savedDirectory);
        m_mounts.UnmountAll();
        if (!m_root.empty()) fs::remove_all(m_root);
    }

    std::string Host() const { return m_portal->HostPort(); }
    std::string FillerFile() const { return (m_root / "filler" / "blocks").string(); }

    // The download folder's entries: the saved pages and nothing beside them.
    static std::vector<std::string> SavedPageNames() {
        std::vector<std::string> names = {CityPageFileName(1)};
        for (const int id : CompanyIds()) names.push_back(ShopPageFileName(id));
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path m_root;
    fs::path m_savedDirectory;
    std::string m_downloads;
    std::string m_config;
    ScratchMounts m_mounts;
    std::unique_ptr<portal::PortalServer> m_portal;
    RecordingNetworkErrors m_errors;
    const std::atomic<bool> m_cancel{false};
};

struct Fullness {
    const char* name;
    const char* mountOptions;
    bool inodes;  // runs out of inodes rather than of blocks
};

void PrintTo(const Fullness& fullness, std::ostream* out) {
    *out << fullness.name;
}

class FullDiskTest : public DiskTest, public ::testing::WithParamInterface<Fullness> {
protected:
    void SetUp() override { MountDisk(GetParam().mountOptions); }
    void Fill() {
        ASSERT_TRUE(GetParam().inodes ? UseUpInodes((m_root / "filler").string())
                                      : FillUp(FillerFile()));
    }
};

INSTANTIATE_TEST_SUITE_P(NoRoomLeft, FullDiskTest,
                         ::testing::Values(Fullness{"Blocks", "size=2m", false},
                                           Fullness{"Inodes", "size=2m,nr_inodes=40", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(FullDiskTest, SettingsSaveFailsAndKeepsTheOldFile) {
    ConfigStore earlier;
    earlier.portalId = "earlier";
    ASSERT_TRUE(earlier.Save(m_config));
    const std::string before = ReadBytes(m_config);
    Fill();

    ConfigStore changed;
    changed.portalId = "changed";
    changed.searchHistory.assign(100, "word");
    EXPECT_FALSE(changed.Save(m_config));
    EXPECT_EQ(ReadBytes(m_config), before);
    EXPECT_EQ(FolderEntries(m_root),
              (std::vector<std::string>{"Config.xml", kDownloadFolder, "filler"}));
    ConfigStore loaded;
    ASSERT_TRUE(loaded.Load(m_config));
    EXPECT_EQ(loaded.portalId, "earlier");
}

TEST_P(FullDiskTest, PageFetchesFailAndKeepTheEarlierPages) {
    ASSERT_TRUE(SaveEarlierPages(m_downloads));
    Fill();
    HttpFetcher fetcher({}, m_errors, m_cancel);
    for (const int id : CompanyIds()) {
        const std::string path = platform::JoinPath(m_downloads, ShopPageFileName(id));
        EXPECT_EQ(fetcher.FetchToFile(Host(), ShopPageQuery(id) + AccountSuffix("me", "pw"), path),
                  0u)
            << id;
        EXPECT_EQ(ReadPage(m_downloads, id), EarlierShopPage(id)) << id;
    }
    EXPECT_TRUE(m_errors.texts.empty()) << "a full disk is no network error";
    EXPECT_EQ(FolderEntries(m_downloads), SavedPageNames());
}

TEST_P(FullDiskTest, DownloadJobParsesTheEarlierPagesAndClaimsNoFetch) {
    ASSERT_TRUE(SaveEarlierPages(m_downloads));
    Fill();
    HttpFetcher http({}, m_errors, m_cancel);
    RecordingFetcher fetcher(http);
    RecordingReporter reporter;
    DownloadJob job(m_downloads, DownloadSource{&fetcher, Host(), "me", "pw"}, reporter, m_cancel);
    // Nothing new reached the disk, so the job goes on with the saved pages, as
    // after a network failure.
    EXPECT_EQ(JobThreadProc(job), 1u);
    EXPECT_EQ(NamesAndPrices(job.Products()), AllEarlierGoods());
    EXPECT_EQ(job.Companies().size(), CompanyIds().size());
    EXPECT_EQ(fetcher.results.size(), kCityCount + CompanyIds().size());
    for (const auto& [path, bytes] : fetcher.results) EXPECT_EQ(bytes, 0u) << path;
    for (const int id : CompanyIds()) EXPECT_EQ(ReadPage(m_downloads, id), EarlierShopPage(id));
    EXPECT_EQ(FolderEntries(m_downloads), SavedPageNames());
    // Without a free inode no temporary file opens, so nothing is even requested.
    EXPECT_EQ(m_portal->Log().total,
              GetParam().inodes ? 0 : kCityCount + static_cast<int>(CompanyIds().size()));
}

TEST_P(FullDiskTest, DialogTakesOverOnlyThePagesOnDisk) {
    m_savedDirectory = fs::current_path();
    fs::current_path(m_root);
    ASSERT_TRUE(SaveEarlierPages(kDownloadFolder));
    Fill();
    DialogAnswers answers;
    DownloadDialog::SetHostOverride(Host());
    ConfigStore config;
    std::vector<ProductRecord> products;
    DownloadDialog dialog(config, products, true);
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(NamesAndPrices(products), AllEarlierGoods());
    EXPECT_EQ(config.companies.size(), CompanyIds().size());
    EXPECT_EQ(answers.settingsShown, 1);
    EXPECT_TRUE(answers.others.empty()) << "a full disk shows no error box";
}

TEST_P(FullDiskTest, DialogWithNothingSavedEndsWithCancelAndChangesNothing) {
    m_savedDirectory = fs::current_path();
    fs::current_path(m_root);
    Fill();
    DialogAnswers answers;
    DownloadDialog::SetHostOverride(Host());
    ExpectDialogCancelsAndChangesNothing(true);
    EXPECT_TRUE(FolderEntries(m_downloads).empty());
}

class FillingDiskTest : public DiskTest {
protected:
    void SetUp() override { MountDisk("size=2m"); }
};

// The disk fills up in the middle of the download: every page is either its earlier
// or its new version, whole; a fetch reports bytes exactly when its page landed;
// the products are those of the pages on disk.
TEST_F(FillingDiskTest, EveryPageIsTheEarlierOrTheNewOneWhole) {
    ASSERT_TRUE(SaveEarlierPages(m_downloads));
    ASSERT_TRUE(FillUp(FillerFile()));
    // Room for one large page and a little more.
    ASSERT_TRUE(GiveBack(FillerFile(), static_cast<long>(NewShopPage(12).size()) + 8192));

    HttpFetcher http({}, m_errors, m_cancel);
    RecordingFetcher fetcher(http);
    RecordingReporter reporter;
    DownloadJob job(m_downloads, DownloadSource{&fetcher, Host(), "me", "pw"}, reporter, m_cancel);
    EXPECT_EQ(JobThreadProc(job), 1u);

    Goods expected;
    int landed = 0;
    int kept = 0;
    for (const int id : CompanyIds()) {
        const std::string page = ReadPage(m_downloads, id);
        const bool isNew = page == NewShopPage(id);
        ASSERT_TRUE(isNew || page == EarlierShopPage(id))
            << "page " << id << " is neither version whole: " << page.size() << " bytes";
        const std::uint32_t reported =
            fetcher.results[platform::JoinPath(m_downloads, ShopPageFileName(id))];
        EXPECT_EQ(reported, isNew ? page.size() : 0u) << "page " << id;
        ++(isNew ? landed : kept);
        for (const auto& good : isNew ? NewGoods(id) : EarlierGoods(id)) expected.push_back(good);
    }
    EXPECT_EQ(NamesAndPrices(job.Products()), expected);
    EXPECT_GT(landed, 0) << "no page fitted";
    EXPECT_GT(kept, 0) << "the disk never filled up";
    EXPECT_EQ(FolderEntries(m_downloads), SavedPageNames());
    EXPECT_TRUE(m_errors.texts.empty());
}

}  // namespace
