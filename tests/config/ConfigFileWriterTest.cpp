#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "config/ConfigFileWriter.h"
#include "config/ConfigStore.h"
#include "config/ConfigTestSupport.h"
#include "shopdata/TextConversion.h"
#include "support/TestFiles.h"

namespace {

// The settings that tests/data/config/full.xml holds, with every field changed.
ConfigStore FullSettings() {
    ConfigStore c;
    c.portalId = ToShiftJis("髙橋&Co");
    c.portalPassword = "never-saved";
    c.proxyEnabled = 1;
    c.proxyServer = "proxy.example.jp";
    c.proxyPort = 8080;
    c.proxyUser = ToShiftJis("ﾕｰｻﾞ");
    c.proxyPassword = "p\"w<d>";
    c.lastUpdate = "2008/06/01 21:05:09";
    c.companies = {{1, "a", "b"}, {2, "c", "d"}, {3, "e", "f"}};
    c.rowHeight = 24;
    c.listBackColor = 15790320;
    c.listTextColor = 255;
    c.sortColumn = 3;
    c.sortOrder = 1;
    c.cityEnabled = {0, 1, 0, 1, 1, 0, 1, 1, 1, 1, 1, 1, 0};
    c.searchHistory = {ToShiftJis("①番の剣"),     ToShiftJis("髙麗人参"),
                       ToShiftJis("ソース & 表"), "<b>\"'",
                       "tab\tlf\ncr\rend",        "",
                       ToShiftJis("ﾂｰﾙ")};
    c.fileVersion = "2";
    return c;
}

TEST(ConfigFileWriter, WritesTheDefaultFile) {
    const std::string expected = ReadBytes(ConfigDataFile("default.xml"));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(SerializeConfig(ConfigStore()), expected);

    const TempFolder folder;
    ASSERT_TRUE(ConfigStore().Save(folder.File("Config.xml")));
    EXPECT_EQ(ReadBytes(folder.File("Config.xml")), expected);
}

TEST(ConfigFileWriter, WritesEveryFieldEscapedButThePortalPassword) {
    const std::string expected = ReadBytes(ConfigDataFile("full.xml"));
    ASSERT_FALSE(expected.empty());
    const std::string written = SerializeConfig(FullSettings());
    EXPECT_EQ(written, expected);
    EXPECT_EQ(written.find("never-saved"), std::string::npos);
}

TEST(ConfigFileWriter, RoundTripsEveryField) {
    ConfigStore loaded;
    ASSERT_TRUE(loaded.Load(ConfigDataFile("full.xml")));
    ConfigStore expected = FullSettings();
    expected.portalPassword.clear();
    expected.companies.clear();  // the file holds only their count
    EXPECT_TRUE(loaded == expected);
    EXPECT_EQ(loaded.searchHistory, expected.searchHistory);

    // The count written is that of the companies in memory, not the one read.
    const TempFolder folder;
    ASSERT_TRUE(loaded.Save(folder.File("Config.xml")));
    std::string withoutCompanies = ReadBytes(ConfigDataFile("full.xml"));
    withoutCompanies.replace(withoutCompanies.find("size=\"3\""), 8, "size=\"0\"");
    EXPECT_EQ(ReadBytes(folder.File("Config.xml")), withoutCompanies);

    loaded.companies = FullSettings().companies;
    ASSERT_TRUE(loaded.Save(folder.File("Config.xml")));
    EXPECT_EQ(ReadBytes(folder.File("Config.xml")), ReadBytes(ConfigDataFile("full.xml")));
}

TEST(ConfigFileWriter, RoundTripsALongHistory) {
    ConfigStore original;
    for (int i = 0; i < 200; ++i)
        original.searchHistory.push_back(ToShiftJis("商品①") + std::to_string(i) + " &<\"\t");
    const TempFolder folder;
    ASSERT_TRUE(original.Save(folder.File("Config.xml")));
    ConfigStore loaded;
    ASSERT_TRUE(loaded.Load(folder.File("Config.xml")));
    EXPECT_EQ(loaded.searchHistory, original.searchHistory);
    EXPECT_EQ(SerializeConfig(loaded), ReadBytes(folder.File("Config.xml")));
}

// A control character typed or pasted into a setting must not cost the others.
TEST(ConfigFileWriter, LeavesOutControlCharactersXmlCannotHold) {
    ConfigStore original = FullSettings();
    original.portalId = "id\x01\x1f";
    original.proxyUser = std::string("u\0s", 3);
    original.searchHistory = {
        "a\x08"
        "b\x0b\x0c",
        "\x1b[0m\t\n\r"};
    const TempFolder folder;
    ASSERT_TRUE(original.Save(folder.File("Config.xml")));
    ConfigStore loaded;
    ASSERT_TRUE(loaded.Load(folder.File("Config.xml")));
    EXPECT_EQ(loaded.portalId, "id");
    EXPECT_EQ(loaded.proxyUser, "us");
    EXPECT_EQ(loaded.searchHistory, (std::vector<std::string>{"ab", "[0m\t\n\r"}));
    EXPECT_EQ(loaded.proxyServer, original.proxyServer);
}

TEST(ConfigFileWriter, SavedFileIsReadableByTheOwnerOnly) {
    namespace fs = std::filesystem;
    const TempFolder folder;
    const std::string path = folder.Write("Config.xml", "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::others_read);
    ASSERT_TRUE(ConfigStore().Save(path));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

// Simulates a full disk: writes past a few bytes fail, whoever runs the test.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int);
};

TEST(ConfigFileWriter, FailedSaveLeavesTheOldFile) {
    const TempFolder folder;
    const std::string path = folder.Write("Config.xml", "previous settings");
    {
        const FileSizeLimit limit(64);
        EXPECT_FALSE(FullSettings().Save(path));
    }
    EXPECT_EQ(ReadBytes(path), "previous settings");
    int files = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()))
        ++files;
    EXPECT_EQ(files, 1);  // no temporary file left behind

    EXPECT_FALSE(ConfigStore().Save(folder.File("no-such-folder/Config.xml")));
}

}  // namespace
