// Runs the veradune-export program itself on a working folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int exitCode;
    std::string out;
    std::string err;
};

class ExportRunTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(m_dir / "DownloadFiles"); }

    RunResult Run(const std::string& arguments) {
        const fs::path errFile = m_dir / "stderr.txt";
        const std::string command =
            std::string(VERADUNE_EXPORT_PATH) + " " + arguments + " 2>" + errFile.string();
        FILE* pipe = ::popen(command.c_str(), "r");
        std::string out;
        std::array<char, 4096> buffer;
        size_t n;
        while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
            out.append(buffer.data(), n);
        const int status = ::pclose(pipe);
        return {WEXITSTATUS(status), out, ReadBytes(errFile.string())};
    }

    // Two shops in Seville and one in Calicut, the same pepper in two of them.
    void WriteShops() {
        m_folder.Write("DownloadFiles/CityNo001.html",
                       "<a href=\"javascript:Click_Sub( 1 );\">東商会</a>"
                       "<a href=\"javascript:Click_Sub( 2 );\">西商会</a>");
        m_folder.Write("DownloadFiles/CityNo070.html",
                       "<a href=\"javascript:Click_Sub( 3 );\">南商会</a>");
        auto shop = [](const char* company, const char* city, const char* rows) {
            return std::string("<p>商会名：") + company + "</p><p>拠点街：" + city + "</p>" + rows;
        };
        auto row = [](const char* image, const char* name, const char* extra, int stock,
                      int price) {
            return std::string("<tr><td><img src=\"./img/itemcg/") + image +
                   ".png\" ><div style=\"clear:right;\">" + name + "</div>" + extra +
                   "</td><td class=\"chara_rlin\">" + std::to_string(stock) +
                   "</td><td class=\"chara_rlin\">" + std::to_string(price) + "</td></tr>";
        };
        m_folder.Write(
            "DownloadFiles/ShopNo001.html",
            shop("東商会", "セビリア",
                 (row("trade_01", "胡椒", "<br>分類：香辛料<br>", 10, 1500) +
                  row("equipment_4_01", "鉄の剣", "<br>攻撃力：12<br>耐久度：30<br>", 1, 12000))
                     .c_str()));
        m_folder.Write("DownloadFiles/ShopNo002.html",
                       shop("西商会", "セビリア",
                            row("trade_01", "胡椒", "<br>分類：香辛料<br>", 3, 900).c_str()));
        m_folder.Write("DownloadFiles/ShopNo003.html",
                       shop("南商会", "カリカット",
                            row("cannon_01", "カノン砲", "<br>攻撃力：0<br>", 0, 1234567).c_str()));
    }

    TempFolder m_folder;
    const fs::path& m_dir = m_folder.Path();
};

TEST_F(ExportRunTest, PrintsTheListSortedByTheSavedColumnWithTheHitCount) {
    WriteShops();
    const RunResult r = Run(m_dir.string());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // Default sort: city name ascending (byte order: カリカット before セビリア), stable.
    EXPECT_EQ(r.out,
              "商品名\t種別\t在庫数\t販売価格\t攻撃力\t防御力\t耐久度\t商会名\t都市名\n"
              "カノン砲\t砲種\t0\t1,234,567\t\t\t\t南商会\tカリカット\n"
              "胡椒\t香辛料\t10\t1,500\t\t\t\t東商会\tセビリア\n"
              "鉄の剣\t武器・道具\t1\t12,000\t12\t\t30\t東商会\tセビリア\n"
              "胡椒\t香辛料\t3\t900\t\t\t\t西商会\tセビリア\n");
    EXPECT_EQ(r.err, "4件ヒットしました\n");
    EXPECT_FALSE(fs::exists(m_dir / "Config.xml")) << "the export never writes the settings";
}

TEST_F(ExportRunTest, AppliesTheSavedSortAndCitiesAndTheGivenInputs) {
    WriteShops();
    std::string config =
        "<?xml version='1.0' encoding='Shift-JIS'?>\n<veradune version=\"\">"
        "<harvala_info id=\"\"/><proxy_info/><download_info/>"
        "<list_info height=\"20\" sort_index=\"3\" sort_order=\"1\"/><city_info>";
    for (int i = 0; i < 13; ++i)
        config += i == 12 ? "<city enable=\"0\"/>" : "<city enable=\"1\"/>";
    m_folder.Write("Config.xml", config + "</city_info></veradune>");

    RunResult r = Run("--format csv " + m_dir.string());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "商品名,種別,在庫数,販売価格,攻撃力,防御力,耐久度,商会名,都市名\r\n"
              "鉄の剣,武器・道具,1,\"12,000\",12,,30,東商会,セビリア\r\n"
              "胡椒,香辛料,10,\"1,500\",,,,東商会,セビリア\r\n"
              "胡椒,香辛料,3,900,,,,西商会,セビリア\r\n");

    r = Run("--name 胡椒 --cheapest " + m_dir.string());
    EXPECT_EQ(r.out.substr(r.out.find('\n') + 1), "胡椒\t香辛料\t3\t900\t\t\t\t西商会\tセビリア\n");
    EXPECT_EQ(r.err, "1件ヒットしました\n");

    r = Run("--price 1000 --price-cond at-least --category 交易品（全て） " + m_dir.string());
    EXPECT_EQ(r.err, "1件ヒットしました\n");
    r = Run("--price 1000 " + m_dir.string());  // a value without its condition filters nothing
    EXPECT_EQ(r.err, "3件ヒットしました\n");
}

TEST_F(ExportRunTest, ExitCodesForBadUsageAndAMissingFolder) {
    RunResult r = Run("--price-cond sometimes " + m_dir.string());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    r = Run((m_dir / "nowhere").string());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("DownloadFiles"), std::string::npos);
    r = Run(m_dir.string());  // a folder without any saved page: an empty list
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "0件ヒットしました\n");
}

}  // namespace
