// veradune-export run as a program over the bundled sample, and its command line.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "shopdata/ShiftJisText.h"
#include "support/ShiftJisLiteral.h"
#include "support/TestFiles.h"

namespace {

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
    std::string expected =
        "商品名\t種別\t在庫数\t販売価格\t攻撃力\t防御力\t耐久度\t商会名\t都市名\n";
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

    // Sorted by attack, descending; Lisbon and Amsterdam off.
    std::string config =
        "<?xml version='1.0' encoding='Shift-JIS'?>\n<veradune version=\"\"><harvala_info id=\"\"/>"
        "<proxy_info/><download_info/><list_info height=\"20\" sort_index=\"4\" "
        "sort_order=\"1\"/><city_info>";
    for (int i = 0; i < 13; ++i)
        config += i == 1 || i == 4 ? "<city enable=\"0\"/>" : "<city enable=\"1\"/>";
    work.Write("Config.xml", S(config + "</city_info></veradune>"));
    const std::string before = ReadBytes(work.File("Config.xml"));
    const RunResult r = Export(dir, work);
    EXPECT_EQ(r.err, "1144件ヒットしました\n");
    EXPECT_TRUE(
        r.out.substr(r.out.find('\n') + 1)
            .starts_with(
                "ショートソード\t武器・道具\t11\t83,016\t42\t\t59\t象牙海岸貿易\tマルセイユ\n"));
    EXPECT_EQ(ReadBytes(work.File("Config.xml")), before) << "the export never writes the settings";
}

}  // namespace
