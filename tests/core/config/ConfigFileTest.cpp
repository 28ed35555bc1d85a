#include <gtest/gtest.h>

#include "config/ConfigFileWriter.h"
#include "config/ConfigStore.h"
#include "support/ShiftJisLiteral.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

const std::string kDataDir = VERADUNE_TEST_DATA_DIR "/config/";

// The settings of tests/data/config/full.xml, where every field differs from the
// defaults, with a portal password the file must never hold.
ConfigStore FullSettings() {
    ConfigStore c;
    EXPECT_TRUE(c.Load(kDataDir + "full.xml"));
    c.portalPassword = "never-saved";
    c.companies.resize(3);  // the file keeps only their count
    return c;
}

TEST(ConfigFile, WritesTheExactBytesAndReadsEveryFieldBack) {
    const TempFolder folder;
    const std::string path = folder.File("Config.xml");
    ASSERT_TRUE(ConfigStore().Save(path));
    EXPECT_EQ(ReadBytes(path), ReadBytes(kDataDir + "default.xml"));
#ifndef _WIN32  // std::filesystem sees no access lists, only the read-only flag
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write)
        << "the file holds the proxy password";
#endif

    // Every field of the file differs from the defaults: a field read or written
    // under another name comes back as its default.
    const ConfigStore full = FullSettings();
    ASSERT_TRUE(full.Save(path));
    EXPECT_EQ(ReadBytes(path), ReadBytes(kDataDir + "full.xml"));

    // Control characters XML cannot hold are left out, not the whole file lost.
    ConfigStore control = full, loaded;
    control.portalId = "id\x01\x1f";
    control.proxyUser = std::string("u\0s", 3);
    control.searchHistory = {"a\x08\x62\x0b\x0c", "\x1b[0m\t\n\r"};
    ASSERT_TRUE(control.Save(path));
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(loaded.portalId, "id");
    EXPECT_EQ(loaded.proxyUser, "us");
    EXPECT_EQ(loaded.searchHistory, (std::vector<std::string>{"ab", "[0m\t\n\r"}));
}

// Sections are known by position, attributes by exact name, numbers read as atoi.
TEST(ConfigFile, ReadsSectionsByPosition) {
    const auto file = [](const std::string& body) {
        return S("<?xml version='1.0' encoding='Shift-JIS'?>\n<veradune version=\"1\">" + body +
                 "</veradune>");
    };
    std::string twelveCities;
    for (int i = 0; i < 12; ++i) twelveCities += "<city enable=\"1\"/>";
    const struct {
        const char* what;
        std::string bytes;
        void (*expect)(ConfigStore&);
    } cases[] = {
        {"proxy_info first: the sections read empty",
         file("<proxy_info enable=\"1\" server=\"s\"/><harvala_info id=\"me\"/>"),
         [](ConfigStore& c) { c.portalId = "", c.proxyServer = "", c.proxyEnabled = false; }},
        {"atoi numbers, sort state clamped",
         file("<a/><proxy_info enable=\" +1x\" port=\"-5\"/><b/><list_info height=\"12px\" "
              "back_color=\"abc\" text_color=\"2147483648\" sort_index=\"9\" sort_order=\"2\"/>"),
         [](ConfigStore& c) {
             c.portalId = "", c.proxyEnabled = true, c.proxyServer = "", c.proxyPort = -5;
             c.rowHeight = 12, c.listBackColor = 0, c.listTextColor = 2147483647;
             c.sortColumn = kColumnCityName, c.sortOrder = 0;
         }},
        {"city flags by position, extra ones ignored",
         file("<a/><b/><c/><d/><city_info><city enable=\"0\"/><!--x--><city enable=\"7\"/>" +
              twelveCities + "</city_info>"),
         [](ConfigStore& c) {
             c.portalId = "", c.proxyServer = "", c.rowHeight = 0, c.listBackColor = 0;
             c.sortColumn = 0;
             c.cityEnabled[0] = c.cityEnabled[1] = false;
         }},
        {"history words, any element, entities expanded",
         "<!DOCTYPE v [<!ENTITY e \"a&amp;b\">]><v><a/><b/><c/><d/><e/><h><w name=\"&e;\"/><w/>"
         "<w name=\"&#9;x\"/></h><harvala_info id=\"late\"/></v>",
         [](ConfigStore& c) {
             c.fileVersion = "", c.portalId = "", c.proxyServer = "", c.rowHeight = 0;
             c.listBackColor = 0, c.sortColumn = 0;
             c.searchHistory = {"a&b", "", "\tx"};
         }},
        {"UTF-8 and the Shift_JIS spellings read as CP932",
         S("<?xml version=\"1.0\" encoding=\"sjis\"?><veradune><harvala_info id=\"①髙ﾂｰﾙ表\"/>"
           "</veradune>"),
         [](ConfigStore& c) { c.fileVersion = "", c.portalId = S("①髙ﾂｰﾙ表"); }},
    };
    const TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ConfigStore prefilled;
        prefilled.portalId = "old", prefilled.proxyServer = "old", prefilled.fileVersion = "old";
        prefilled.searchHistory = {"old"};
        ConfigStore loaded = prefilled;
        ASSERT_TRUE(loaded.Load(folder.Write("Config.xml", c.bytes)));
        ConfigStore expected = prefilled;
        expected.fileVersion = "1";
        c.expect(expected);
        EXPECT_TRUE(loaded == expected) << ShiftJisToUtf8(loaded.portalId);
    }
    for (const std::string bytes :
         {"", "<veradune><a>", "<v/><v/>", "<v x=1/>", "<v x=\"&n;\"/>",
          "<?xml version='1.0' encoding='Shift-JIS'?><v x=\"\x85\x40\"/>"}) {
        ConfigStore loaded = FullSettings();
        testing::internal::CaptureStderr();
        EXPECT_FALSE(loaded.Load(folder.Write("Config.xml", bytes))) << bytes;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_TRUE(loaded == FullSettings()) << bytes;
    }
}

}  // namespace
