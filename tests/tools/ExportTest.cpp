// veradune-export run as a program over the bundled sample, and its command line.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "acquire/PagePaths.h"
#include "config/ConfigStore.h"
#include "history/PriceHistory.h"
#include "shopdata/ShiftJisText.h"
#include "support/HandMadePages.h"
#include "support/ProductBuilders.h"
#include "support/TestFiles.h"

namespace {

const std::string kHeader =
    "商品名\t種別\t在庫数\t販売価格\t攻撃力\t防御力\t耐久度\t商会名\t都市名";

struct RunResult {
    int exitCode;
    std::string out;
    std::string err;
};

RunResult Export(const std::string& arguments, const TempFolder& scratch) {
    const std::string errFile = scratch.File("stderr.txt");
    FILE* pipe = ::popen((VERADUNE_EXPORT_PATH " " + arguments + " 2>" + errFile).c_str(), "r");
    std::string out;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int status = ::pclose(pipe);
    return {WEXITSTATUS(status), out, ReadBytes(errFile)};
}

// A truth.tsv number as its cell shows it: the price grouped by thousands, a
// combat figure of 0 or -1 empty.
std::string Cell(const std::string& number, bool price, bool figure) {
    if (figure && (number == "0" || number == "-1")) return "";
    std::string text = number;
    const size_t digitsFrom = text[0] == '-' ? 1 : 0;
    for (size_t i = text.size(); price && i > digitsFrom + 3; i -= 3) text.insert(i - 3, ",");
    return text;
}

TEST(ExportRun, TheSampleExportsAsItsTruthSortedByCity) {
    std::istringstream truth(ReadBytes(VERADUNE_SAMPLE_DIR "/truth.tsv"));
    std::string line;
    std::getline(truth, line);  // the field names
    std::vector<std::vector<std::string>> rows;
    while (std::getline(truth, line)) {
        std::istringstream in(line);
        auto& fields = rows.emplace_back();
        for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return ShiftJisLess(S(a[8]), S(b[8])); });
    std::string expected = kHeader + "\n";
    for (const auto& f : rows)  // name category stock price durability attack defense company city
        expected += f[0] + "\t" + f[1] + "\t" + f[2] + "\t" + Cell(f[3], true, false) + "\t" +
                    Cell(f[5], false, true) + "\t" + Cell(f[6], false, true) + "\t" +
                    Cell(f[4], false, true) + "\t" + f[7] + "\t" + f[8] + "\n";
    const TempFolder scratch;
    const RunResult r = Export(VERADUNE_SAMPLE_DIR, scratch);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out == expected);
    EXPECT_EQ(r.err, std::to_string(rows.size()) + "件ヒットしました\n");
}

TEST(ExportRun, OptionsSavedSettingsAndExitStatuses) {
    const TempFolder work;
    std::filesystem::copy(VERADUNE_SAMPLE_DIR "/DownloadFiles", work.Path() / "DownloadFiles");
    std::filesystem::create_directories(work.Path() / "empty" / "DownloadFiles");
    const std::string dir = work.Path().string();
    const struct {
        std::string arguments;
        int exitCode;
        std::string err;    // the status line, or a piece of the complaint
        std::string first;  // the first row's start
    } cases[] = {
        {"--cheapest " + dir, 0, "196件ヒットしました\n", "キュイラス\t"},
        {"--stock 10 --stock-cond at-most --cheapest --format csv " + dir, 0,
         "106件ヒットしました\n", "トップスル補助帆,補助帆,7,\"23,870\",,,670,　獅子屋,アテネ\r\n"},
        {"--category 交易品（全て） --price -5 --price-cond equal " + dir, 0,
         "510件ヒットしました\n", ""},
        {"--category 砲種 --stock abc --stock-cond equal " + dir, 0, "2件ヒットしました\n", ""},
        {"--price 1000 " + dir, 0, "1284件ヒットしました\n", ""},  // no condition: no filter
        {"--price 80000 --price-cond at-least " + dir, 0, "344件ヒットしました\n", ""},
        {"--price-cond sometimes " + dir, 2, "usage:", ""},
        {"--name", 2, "usage:", ""},
        {"--format xlsx " + dir, 2, "usage:", ""},
        {dir + " " + dir, 2, "usage:", ""},
        {dir + "/nowhere", 1, "DownloadFiles", ""},
        {dir + "/empty", 0, "0件ヒットしました\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const RunResult r = Export(c.arguments, work);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
        EXPECT_TRUE(r.out.substr(r.out.find('\n') + 1).starts_with(c.first));
    }

    ConfigStore config;  // sorted by attack, descending; Lisbon and Amsterdam off
    config.sortColumn = 4;
    config.sortOrder = 1;
    config.cityEnabled[1] = config.cityEnabled[4] = false;
    ASSERT_TRUE(config.Save(work.File("Config.xml")));
    const std::string before = ReadBytes(work.File("Config.xml"));
    const RunResult r = Export(dir, work);
    EXPECT_EQ(r.err, "1144件ヒットしました\n");
    EXPECT_TRUE(
        r.out.substr(r.out.find('\n') + 1)
            .starts_with(
                "ショートソード\t武器・道具\t11\t83,016\t42\t\t59\t象牙海岸貿易\tマルセイユ\n"));
    EXPECT_EQ(ReadBytes(work.File("Config.xml")), before) << "the export never writes the settings";
}

// Two recorded downloads; the saved pages are the second. Company a (Seville) made
// silk cheaper and added salt, company b (Lisbon) made silk dearer.
TEST(ExportRun, ChangesAndHistoryComeFromTheRecordedDownloads) {
    const TempFolder work;
    const std::string dir = work.Path().string();
    std::filesystem::create_directories(work.Path() / "DownloadFiles");
    work.Write("DownloadFiles/" + CityPageFileName(1), CityPage({{1, "a"}, {2, "b"}}));
    work.Write("DownloadFiles/" + ShopPageFileName(1),
               ShopPage("a", "セビリア", {{"絹織物", 900}, {"ワイン", 500}, {"塩", 300}}));
    work.Write("DownloadFiles/" + ShopPageFileName(2),
               ShopPage("b", "リスボン", {{"絹織物", 1000}, {"ワイン", 450}}));
    const std::vector<ProductRecord> before = {
        Offer("a", "絹織物", 1200, "セビリア", 5), Offer("a", "ワイン", 500, "セビリア", 5),
        Offer("b", "絹織物", 800, "リスボン", 5), Offer("b", "ワイン", 450, "リスボン", 5)};
    std::vector<ProductRecord> now = before;
    now[0].price = 900, now[2].price = 1000;
    now.insert(now.begin() + 2, Offer("a", "塩", 300, "セビリア", 5));

    const std::string silkA = "絹織物\t食料品\t5\t900\t\t\t\ta\tセビリア\t値下げ\t1,200\n";
    const std::string salt = "塩\t食料品\t5\t300\t\t\t\ta\tセビリア\t新規\t\n";
    const std::string silkB = "絹織物\t食料品\t5\t1,000\t\t\t\tb\tリスボン\t値上げ\t800\n";
    const std::string changes = kHeader + "\t変化\t前回の価格\n";
    const std::string history = "日時\t最安値\t中央値\t在庫数合計\t出品数\n";
    const struct {
        std::string arguments;
        bool recorded;
        std::string out;
    } cases[] = {
        {"--changes", false, changes},
        {"--history 絹織物", false, history},
        {"--changes", true, changes + silkA + salt + silkB},
        {"--changes --name 絹 --format csv", true,
         "商品名,種別,在庫数,販売価格,攻撃力,防御力,耐久度,商会名,都市名,変化,前回の価格\r\n"
         "絹織物,食料品,5,900,,,,a,セビリア,値下げ,\"1,200\"\r\n"
         "絹織物,食料品,5,\"1,000\",,,,b,リスボン,値上げ,800\r\n"},
        {"--history 絹 --format csv", true, "日時,最安値,中央値,在庫数合計,出品数\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        if (c.recorded && !std::filesystem::exists(work.File("History.sqlite"))) {
            HistoryOpening opening = PriceHistory::Open(work.File("History.sqlite"));
            ASSERT_TRUE(opening.history->Record(before, "2024/05/01 10:00:00"));
            ASSERT_TRUE(opening.history->Record(now, "2024/05/02 10:00:00"));
        }
        const RunResult r = Export(c.arguments + " " + dir, work);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(FolderEntries(work.Path()).size(), c.recorded ? 3u : 2u)
            << "the history is only read";
    }

    EXPECT_EQ(Export(dir, work).out.find("値下げ"), std::string::npos) << "the list as before";
    ConfigStore config;  // Lisbon off: its offers leave the figures
    config.cityEnabled[1] = false;
    ASSERT_TRUE(config.Save(work.File("Config.xml")));
    EXPECT_EQ(
        Export("--history 絹織物 " + dir, work).out,
        history + "2024/05/01 10:00:00\t1,200\t1,200\t5\t1\n2024/05/02 10:00:00\t900\t900\t5\t1\n");

    // A damaged history is a complaint, left where it is.
    const std::string damaged(8192, 'x');
    work.Write("History.sqlite", damaged);
    for (const std::string arguments : {"--changes ", "--history 塩 "}) {
        const RunResult r = Export(arguments + dir, work);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find("damaged"), std::string::npos) << r.err;
        EXPECT_EQ(ReadBytes(work.File("History.sqlite")), damaged);
    }
    EXPECT_EQ(Export("--history 塩 --changes " + dir, work).exitCode, 2);
}

}  // namespace
