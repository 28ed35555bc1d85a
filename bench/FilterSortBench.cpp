// Times the filter and sort passes over a table as large as a busy server's
// shops give: a filter run with two name keywords and a price condition, the
// cheapest-only mode, and a stable sort of the products by price.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "config/ConfigStore.h"
#include "listview/ProductList.h"
#include "listview/ProductSort.h"
#include "shopdata/FixedTables.h"
#include "shopdata/TextConversion.h"

namespace {

constexpr size_t kRecordCount = 1'000'000;
constexpr int kRuns = 5;

// Goods of every category group, with the katakana, kanji and brackets of real
// names; split at the spaces.
constexpr const char* kGoods =
    "絹織物 綿織物 毛織物 ワイン ビール チーズ 小麦 胡椒 "
    "ナツメグ シナモン クローブ サフラン 砂糖 コーヒー 紅茶 "
    "カカオ タバコ 金細工 銀細工 ルビー サファイア 真珠 琥珀 "
    "鉄鉱石 銅鉱石 乳香 白檀 藍 サフラン染料 羊 ブロードソード "
    "レイピア サーベル ハルバード マスケット銃 火縄銃 カルバリン砲 "
    "カロネード砲 セーカー砲 ラテンセイル 横帆 追加装甲板 "
    "船首像「女神」 紋章「獅子」 ラウンドシールド 羽根付き帽子 "
    "革のブーツ 航海用コンパス 羅針盤 望遠鏡 大工道具 "
    "応急修理キット 保存食 レシピ帳：料理 宝箱 古地図 ペット権利書 "
    "ロット 家具「長椅子」";

std::vector<std::string> ShiftJisList(std::initializer_list<const char*> words) {
    std::vector<std::string> list;
    for (const char* word : words) list.push_back(ToShiftJis(word));
    return list;
}

// Shops of a few hundred products each, in the order a download parses them;
// names combine a quality, a good and a grade.
std::vector<ProductRecord> MakeProducts(size_t count) {
    const auto qualities = ShiftJisList(
        {"", "上質な", "高級", "粗悪な", "頑丈な", "名工の", "古びた", "東洋の", "熟成", "特製"});
    std::vector<std::string> goods;
    for (std::string_view rest = kGoods; !rest.empty();) {
        const size_t end = std::min(rest.find(' '), rest.size());
        goods.push_back(ToShiftJis(rest.substr(0, end)));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    const auto grades = ShiftJisList({"", "＋1", "＋2", "（改）"});
    const auto companyHeads =
        ShiftJisList({"東方", "北海", "黄金の", "蒼き", "白銀", "紅蓮", "海風", "星降る", "暁の",
                      "潮騒", "翠玉", "大航海", "南洋", "西風", "碧海", "銀狼", "獅子王", "鳳凰"});
    const auto companyTails = ShiftJisList(
        {"交易", "貿易", "航海", "冒険", "職人", "船団", "海運", "探検", "工房", "旅団"});
    const auto companyKinds = ShiftJisList({"商会", "商店", "組合"});
    std::vector<std::string> categories;
    for (const auto& group : CategoryGroup())
        categories.insert(categories.end(), group.members.begin(), group.members.end());

    std::mt19937 random(20240611);
    const auto pick = [&](const std::vector<std::string>& pool) -> const std::string& {
        return pool[std::uniform_int_distribution<size_t>(0, pool.size() - 1)(random)];
    };
    std::uniform_int_distribution<int> shopSize(50, 600);
    std::uniform_real_distribution<double> logPrice(0.0, 5.7);
    std::uniform_int_distribution<int> stock(0, 999);
    std::uniform_int_distribution<int> figure(-1, 400);

    std::vector<ProductRecord> products;
    products.reserve(count);
    // The download goes through the cities in table order, each city's companies
    // in turn.
    for (int city = 0; city < kCityCount; ++city) {
        const size_t cityEnd = count * (city + 1) / kCityCount;
        const std::string& home = CityTable()[city].name;
        while (products.size() < cityEnd) {
            const std::string company =
                pick(companyHeads) + pick(companyTails) + pick(companyKinds);
            for (int n = shopSize(random); n > 0 && products.size() < cityEnd; --n) {
                ProductRecord p;
                p.productName = pick(qualities) + pick(goods) + pick(grades);
                p.category = pick(categories);
                p.stock = stock(random);
                p.price = static_cast<int>(std::pow(10.0, logPrice(random)));
                p.durability = figure(random);
                p.attack = figure(random);
                p.defense = figure(random);
                p.companyName = company;
                p.cityName = home;
                products.push_back(std::move(p));
            }
        }
    }
    return products;
}

struct Timing {
    double best = 0;    // wall clock, ms
    double median = 0;  // wall clock, ms
    double cpu = 0;     // processor time of the best run, ms; apart from the wall
                        // clock when other programs share the processors
};

// Runs `prepare` untimed and `body` timed kRuns times.
template <class Prepare, class Body>
Timing Time(Prepare prepare, Body body) {
    std::vector<std::pair<double, double>> runs;
    for (int run = 0; run < kRuns; ++run) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpuStart = std::clock();
        body();
        const std::clock_t cpuEnd = std::clock();
        const auto end = std::chrono::steady_clock::now();
        runs.emplace_back(std::chrono::duration<double, std::milli>(end - start).count(),
                          1000.0 * static_cast<double>(cpuEnd - cpuStart) / CLOCKS_PER_SEC);
    }
    std::sort(runs.begin(), runs.end());
    return {runs.front().first, runs[runs.size() / 2].first, runs.front().second};
}

void Report(const char* what, const Timing& timing, double goal, size_t result) {
    std::printf("%-42s best %7.1f  median %7.1f  cpu %7.1f ms", what, timing.best, timing.median,
                timing.cpu);
    if (goal > 0) std::printf("  goal %3.0f ms %s", goal, timing.best <= goal ? "met" : "MISSED");
    std::printf("  (%zu)\n", result);
}

}  // namespace

int main() {
    std::printf("building %zu records...\n", kRecordCount);
    const std::vector<ProductRecord> products = MakeProducts(kRecordCount);
    const SortKey byPrice{kColumnPrice, SortOrder::Ascending};
    const auto noPrepare = [] {};
    std::vector<ProductRecord> work;

    // At start-up the parsed table is sorted by city, which leaves it in download
    // order. A click on the price header then moves the records, and their names
    // stay where they were allocated, scattered across memory.
    ConfigStore byCitySettings;
    ProductList byCity(byCitySettings);
    byCity.SetProducts(products);
    // The price key is saved after the table was loaded, so that the table stays
    // in city order while the cheapest set is ordered by price.
    byCitySettings.sortColumn = kColumnPrice;
    ConfigStore byPriceSettings;
    byPriceSettings.sortColumn = kColumnPrice;
    ProductList byPriceTable(byPriceSettings);
    byPriceTable.SetProducts(byCity.Products());

    const FilterInputs keywords = MakeFilterInputs(
        ToShiftJis("上質 織物"), "", "5000", static_cast<int>(Condition::AtMost), "", -1, false);
    FilterRun run;
    auto times = Time(noPrepare, [&] { run = byCity.Filter(keywords); });
    Report("(a) filter: two name keywords + price", times, 50, run.hits);
    times = Time(noPrepare, [&] { run = byPriceTable.Filter(keywords); });
    Report("    the same on the table sorted by price", times, 50, run.hits);

    const FilterInputs cheapest = MakeFilterInputs("", "", "", -1, "", -1, true);
    times = Time(noPrepare, [&] { run = byCity.Filter(cheapest); });
    Report("(b) filter: cheapest only", times, 300, run.hits);
    times = Time(noPrepare, [&] { run = byPriceTable.Filter(cheapest); });
    Report("    the same on the table sorted by price", times, 300, run.hits);

    const std::vector<ProductRecord> cityOrder = byCity.Products();
    times = Time([&] { work = cityOrder; }, [&] { SortProducts(work, byPrice); });
    Report("(c) sort products by price", times, 300, work.size());
    times = Time([&] { work = cityOrder; },
                 [&] {
                     SortProducts(work, {kColumnCityName, SortOrder::Descending});
                 });
    Report("    sort products by city, descending", times, 0, work.size());
    times = Time([&] { work = cityOrder; },
                 [&] {
                     SortProducts(work, {kColumnProductName, SortOrder::Descending});
                 });
    Report("    sort products by name, descending", times, 0, work.size());

    times = Time(noPrepare, [&] { run = byCity.ClearFilter(); });
    Report("    filter: nothing set (positions only)", times, 0, run.hits);
    size_t cellBytes = 0;
    times = Time(noPrepare, [&] {
        run = byCity.ClearFilter();
        cellBytes = 0;
        for (size_t row = 0; row < byCity.RowCount(); ++row)
            for (int column = 0; column < kColumnCount; ++column)
                cellBytes += byCity.CellText(row, column).size();
    });
    Report("    filter: nothing set (every cell text)", times, 0, cellBytes);

    // Every row shown in download order, then the price header clicked: the rows
    // by their texts, the table by its values.
    times = Time(
        [&] {
            byCitySettings.sortColumn = kColumnCityName;
            byCity.SetProducts(cityOrder);
            byCity.ClearFilter();
        },
        [&] { byCity.ClickColumn(kColumnPrice); });
    Report("    header click: rows and table by price", times, 0, byCity.RowCount());
    std::vector<std::uint32_t> rows;
    std::vector<std::uint32_t> allRows(cityOrder.size());
    for (size_t i = 0; i < allRows.size(); ++i) allRows[i] = static_cast<std::uint32_t>(i);
    times = Time([&] { rows = allRows; }, [&] { SortShownRows(rows, cityOrder, byPrice); });
    Report("    sort every shown row by price", times, 0, rows.size());
    return 0;
}
