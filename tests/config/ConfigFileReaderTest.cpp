#include <gtest/gtest.h>

#include <string>

#include "config/ConfigStore.h"
#include "shopdata/TextConversion.h"
#include "support/TestFiles.h"

namespace {

// Settings that differ from the defaults everywhere, so that a read that wrongly
// keeps or wrongly resets a field shows.
ConfigStore Prefilled() {
    ConfigStore c;
    c.portalId = "old-id";
    c.portalPassword = "typed";
    c.proxyEnabled = 1;
    c.proxyServer = "old-server";
    c.proxyPort = 3128;
    c.proxyUser = "old-user";
    c.proxyPassword = "old-pass";
    c.lastUpdate = "2001/01/01 00:00:00";
    c.companies = {{7, "old-company", "old-city"}};
    c.rowHeight = 30;
    c.listBackColor = 1;
    c.listTextColor = 2;
    c.sortColumn = 5;
    c.sortOrder = 1;
    c.cityEnabled.fill(false);
    c.searchHistory = {"old-word"};
    c.fileVersion = "old-version";
    return c;
}

std::string ShiftJisFile(const std::string& bodyUtf8) {
    return ToShiftJis("<?xml version='1.0' encoding='Shift-JIS'?>\n<veradune version=\"1\">" +
                      bodyUtf8 + "\n</veradune>\n");
}

// What reading the first `count` sections from elements without attributes does.
void EmptySections(ConfigStore& c, int count) {
    if (count > 0) c.portalId = "";
    if (count > 1) {
        c.proxyEnabled = 0, c.proxyServer = "", c.proxyPort = 0;
        c.proxyUser = "", c.proxyPassword = "";
    }
    if (count > 2) c.lastUpdate = "";
    if (count > 3) {
        c.rowHeight = 0, c.listBackColor = 0, c.listTextColor = 0;
        c.sortColumn = 0, c.sortOrder = 0;
    }
}

// Flags 0, 1, 0, ... for the 13 cities, then two more children with flag 5.
std::string FifteenCities() {
    std::string cities;
    for (int i = 0; i < 15; ++i)
        cities += "<city enable=\"" + std::to_string(i < 13 ? i % 2 : 5) + "\"/>";
    return cities;
}

struct ReadCase {
    const char* what;
    std::string bytes;
    void (*expect)(ConfigStore&);  // turns Prefilled() into the expected result
};

TEST(ConfigFileReader, FollowsThePositionalRules) {
    const ReadCase cases[] = {
        {"well-formed file", ShiftJisFile(R"(
	<harvala_info id="me"/>
	<proxy_info enable="0" server="px" port="80" user="u" pass="p"/>
	<download_info date="2008/06/01 21:05:09" size="99"/>
	<list_info height="18" back_color="3" text_color="4" sort_index="2" sort_order="0"/>
	<city_info>
		<city name="x" enable="1"/>
	</city_info>
	<search_history>
		<search_word name="剣"/>
	</search_history>)"),
         [](ConfigStore& c) {
             c.fileVersion = "1";
             c.portalId = "me";
             c.proxyEnabled = 0, c.proxyServer = "px", c.proxyPort = 80;
             c.proxyUser = "u", c.proxyPassword = "p";
             c.lastUpdate = "2008/06/01 21:05:09";
             c.rowHeight = 18, c.listBackColor = 3, c.listTextColor = 4;
             c.sortColumn = 2, c.sortOrder = 0;
             c.cityEnabled[0] = 1;
             c.searchHistory = {ToShiftJis("剣")};
         }},
        {"sections by position: proxy_info first",
         ShiftJisFile(R"(<proxy_info enable="1" server="s" port="8" user="u" pass="p"/>
                         <harvala_info id="me"/>)"),
         [](ConfigStore& c) {
             c.fileVersion = "1";
             EmptySections(c, 2);
         }},
        {"a comment takes a position",
         ShiftJisFile(R"(<!-- note --><harvala_info id="me"/><proxy_info enable="1"/>)"),
         [](ConfigStore& c) {
             c.fileVersion = "1";
             EmptySections(c, 3);
         }},
        {"non-blank text takes a position", ShiftJisFile(R"(x<harvala_info id="me"/>)"),
         [](ConfigStore& c) {
             c.fileVersion = "1";
             EmptySections(c, 2);
         }},
        {"absent attributes: port 0, height 0 not 20",
         ShiftJisFile(R"(<a/><proxy_info enable="1" server="s" user="u" pass="p"/><b/>
                         <list_info back_color="5" text_color="6" sort_index="1" sort_order="1"/>)"),
         [](ConfigStore& c) {
             c.fileVersion = "1";
             EmptySections(c, 4);
             c.proxyEnabled = 1, c.proxyServer = "s", c.proxyUser = "u", c.proxyPassword = "p";
             c.listBackColor = 5, c.listTextColor = 6;
             c.sortColumn = 1, c.sortOrder = 1;
         }},
        {"root of another name, no version, no children",
         ToShiftJis("<?xml version='1.0' encoding='Shift-JIS'?><other/>"),
         [](ConfigStore& c) { c.fileVersion = ""; }},
        {"attributes by exact name",
         ShiftJisFile(R"(<harvala_info ID="a" xmlns:n="urn:n" n:id="b" id_="c"/>)"),
         [](ConfigStore& c) {
             c.fileVersion = "1";
             c.portalId = "";
         }},
        {"integers read as atoi", ShiftJisFile(R"(<a/><proxy_info enable=" +1x" port="-5"/><b/>
                         <list_info height="12px" back_color="abc" text_color="2147483648"/>)"),
         [](ConfigStore& c) {
             c.fileVersion = "1";
             EmptySections(c, 4);
             c.proxyEnabled = 1, c.proxyPort = -5;
             c.rowHeight = 12, c.listTextColor = 2147483647;
         }},
        {"sort column and order out of range, independently",
         ShiftJisFile(R"(<a/><b/><c/><list_info height="1" sort_index="9" sort_order="1"/>)"),
         [](ConfigStore& c) {
             c.fileVersion = "1";
             EmptySections(c, 4);
             c.rowHeight = 1, c.sortColumn = 8, c.sortOrder = 1;
         }},
        {"negative sort column, sort order 2",
         ShiftJisFile(R"(<a/><b/><c/><list_info sort_index="-1" sort_order="2"/>)"),
         [](ConfigStore& c) {
             c.fileVersion = "1";
             EmptySections(c, 4);
             c.sortColumn = 8;
         }},
        {"in-range sort column with a bad order keeps the column",
         ShiftJisFile(R"(<a/><b/><c/><list_info sort_index="3" sort_order="-1"/>)"),
         [](ConfigStore& c) {
             c.fileVersion = "1";
             EmptySections(c, 4);
             c.sortColumn = 3;
         }},
        {"fewer than 13 cities change only the first; a comment city reads 0",
         ShiftJisFile(R"(<a/><b/><c/><d/>
                         <city_info> <city enable="1"/> <!-- x --> <city/> <city enable="7"/> </city_info>)"),
         [](ConfigStore& c) {
             c.fileVersion = "1";
             EmptySections(c, 4);
             c.cityEnabled[0] = 1, c.cityEnabled[1] = 0, c.cityEnabled[2] = 0;
             c.cityEnabled[3] = 7;
         }},
        {"more than 13 cities: the extra ones are ignored",
         ShiftJisFile(R"(<a/><b/><c/><d/><city_info>)" + FifteenCities() + "</city_info>"),
         [](ConfigStore& c) {
             c.fileVersion = "1";
             EmptySections(c, 4);
             c.cityEnabled = {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0};
         }},
        {"history replaced; a word without name is an empty entry; children of any kind",
         ShiftJisFile(R"(<a/><b/><c/><d/><e/>
                         <search_history><search_word name="a&amp;b"/><search_word/><!--c--><w name="&#9;x"/></search_history>)"),
         [](ConfigStore& c) {
             c.fileVersion = "1";
             EmptySections(c, 4);
             c.searchHistory = {"a&b", "", "", "\tx"};
         }},
        {"a sixth section that is no element empties the history",
         ShiftJisFile(R"(<a/><b/><c/><d/><e/><!-- none -->)"),
         [](ConfigStore& c) {
             c.fileVersion = "1";
             EmptySections(c, 4);
             c.searchHistory.clear();
         }},
        {"children past the sixth are ignored",
         ShiftJisFile(R"(<a id="x"/><b/><c/><d/><e/><f/><harvala_info id="late"/>)"),
         [](ConfigStore& c) {
             c.fileVersion = "1";
             EmptySections(c, 4);
             c.portalId = "x";
             c.searchHistory.clear();
         }},
        {"internal entities are expanded",
         "<!DOCTYPE veradune [<!ENTITY e \"a&amp;b\">]><veradune><harvala_info "
         "id=\"&e;!\"/></veradune>",
         [](ConfigStore& c) {
             c.fileVersion = "";
             c.portalId = "a&b!";
         }},
        {"declared UTF-8",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><veradune version=\"2\">"
         "<harvala_info id=\"①髙 ソ\"/></veradune>",
         [](ConfigStore& c) {
             c.fileVersion = "2";
             c.portalId = ToShiftJis("①髙 ソ");
         }},
        {"no declaration reads as UTF-8", "<veradune><harvala_info id=\"髙\"/></veradune>",
         [](ConfigStore& c) {
             c.fileVersion = "";
             c.portalId = ToShiftJis("髙");
         }},
        {"double-quoted declaration, Shift_JIS spelling",
         ToShiftJis("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><veradune version=\"3\">"
                    "<harvala_info id=\"①髙ﾂｰﾙ表\"/></veradune>"),
         [](ConfigStore& c) {
             c.fileVersion = "3";
             c.portalId = ToShiftJis("①髙ﾂｰﾙ表");
         }},
        {"SJIS spelling, lower case",
         ToShiftJis("<?xml version='1.0' encoding='sjis'?><veradune>"
                    "<harvala_info id=\"①髙\"/></veradune>"),
         [](ConfigStore& c) {
             c.fileVersion = "";
             c.portalId = ToShiftJis("①髙");
         }},
    };
    const TempFolder folder;
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = folder.Write("Config.xml", c.bytes);
        ConfigStore loaded = Prefilled();
        ASSERT_TRUE(loaded.Load(path));
        ConfigStore expected = Prefilled();
        c.expect(expected);
        EXPECT_TRUE(loaded == expected);
        EXPECT_EQ(loaded.portalId, expected.portalId);
        EXPECT_EQ(loaded.searchHistory, expected.searchHistory);
        EXPECT_EQ(loaded.cityEnabled, expected.cityEnabled);
    }
}

TEST(ConfigFileReader, RejectsWhatIsNoWellFormedFile) {
    const TempFolder folder;
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"unclosed element", "<?xml version='1.0'?><veradune><harvala_info id=\"x\"/>"},
        {"two roots", "<veradune/><veradune/>"},
        {"unquoted attribute", "<veradune version=1/>"},
        {"empty file", ""},
        {"unknown encoding", "<?xml version='1.0' encoding='x-none'?><veradune/>"},
        {"bytes that are no Shift-JIS",
         "<?xml version='1.0' encoding='Shift-JIS'?><veradune version=\"\x81\x20\"/>"},
        {"undeclared entity", "<veradune version=\"&nope;\"/>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ConfigStore store = Prefilled();
        testing::internal::CaptureStderr();
        EXPECT_FALSE(store.Load(folder.Write("Config.xml", c.bytes)));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // failures are silent
        EXPECT_TRUE(store == Prefilled());
    }
    ConfigStore store = Prefilled();
    EXPECT_FALSE(store.Load(folder.File("missing.xml")));
    EXPECT_FALSE(store.Load(folder.File("")));  // the folder itself
    EXPECT_TRUE(store == Prefilled());
}

// A settings file must not be able to pull in another file's content.
TEST(ConfigFileReader, NeverLoadsExternalEntitiesOrDocumentTypes) {
    const TempFolder folder;
    const std::string dtd = folder.Write(
        "leak.dtd", "<!ENTITY leak \"LEAKED\"><!ATTLIST harvala_info id CDATA \"LEAKED\">");
    const std::string entity = folder.Write("leak.ent", "<harvala_info id=\"LEAKED\"/>");
    const std::string cases[] = {
        "<!DOCTYPE veradune SYSTEM \"" + dtd +
            "\"><veradune><harvala_info id=\"&leak;\"/></veradune>",
        "<!DOCTYPE veradune SYSTEM \"file://" + dtd + "\"><veradune><harvala_info/></veradune>",
        "<!DOCTYPE veradune [<!ENTITY % ext SYSTEM \"" + dtd +
            "\"> %ext;]>"
            "<veradune><harvala_info id=\"&leak;\"/></veradune>",
        "<!DOCTYPE veradune [<!ENTITY ext SYSTEM \"" + entity + "\">]><veradune>&ext;</veradune>",
    };
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes);
        ConfigStore store;
        store.Load(folder.Write("Config.xml", bytes));
        EXPECT_EQ(store.portalId, "");
    }
}

}  // namespace
