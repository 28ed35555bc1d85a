#include "shopdata/FixedTables.h"

#include "shopdata/TextConversion.h"

const std::array<CityInfo, kCityCount>& CityTable() {
    static const std::array<CityInfo, kCityCount> table = {{
        {ToShiftJis("セビリア"), 1},
        {ToShiftJis("リスボン"), 2},
        {ToShiftJis("ヴェネツィア"), 3},
        {ToShiftJis("マルセイユ"), 4},
        {ToShiftJis("アムステルダム"), 5},
        {ToShiftJis("ロンドン"), 6},
        {ToShiftJis("ナポリ"), 23},
        {ToShiftJis("ジェノヴァ"), 24},
        {ToShiftJis("チュニス"), 28},
        {ToShiftJis("アテネ"), 38},
        {ToShiftJis("アレクサンドリア"), 40},
        {ToShiftJis("イスタンブール"), 42},
        {ToShiftJis("カリカット"), 70},
    }};
    return table;
}

namespace {

std::vector<std::string> ToShiftJisList(std::initializer_list<std::string_view> names) {
    std::vector<std::string> list;
    for (std::string_view name : names) list.push_back(ToShiftJis(name));
    return list;
}

}  // namespace

const std::array<CategoryGroupInfo, kCategoryGroupCount>& CategoryGroup() {
    static const std::array<CategoryGroupInfo, kCategoryGroupCount> table = {{
        {ToShiftJis("交易品（全て）"),
         ToShiftJisList({"食料品", "調味料", "酒類",   "嗜好品", "香辛料", "医薬品", "繊維",
                         "織物",   "染料",   "貴金属", "鉱石",   "香料",   "宝石",   "家畜",
                         "武具",   "火器",   "美術品", "工芸品", "工業品", "雑貨"})},
        {ToShiftJis("装備品（全て）"),
         ToShiftJisList({"体装備", "頭装備", "足装備", "手装備", "武器・道具", "装身具"})},
        {ToShiftJis("船部品（全て）"),
         ToShiftJisList({"補助帆", "砲種", "追加装甲", "特殊兵装", "船首像", "紋章"})},
        {ToShiftJis("その他（全て）"), ToShiftJisList({"消耗品", "ロット", "レシピ帳", "宝箱",
                                                       "素材", "ペット権利書", "地図", "家具"})},
    }};
    return table;
}

const std::array<std::string, kColumnCount>& ColumnTitles() {
    static const std::array<std::string, kColumnCount> table = {
        ToShiftJis("商品名"),   ToShiftJis("種別"),   ToShiftJis("在庫数"),
        ToShiftJis("販売価格"), ToShiftJis("攻撃力"), ToShiftJis("防御力"),
        ToShiftJis("耐久度"),   ToShiftJis("商会名"), ToShiftJis("都市名"),
    };
    return table;
}

int FindCityIndex(std::string_view cityName) {
    const auto& cities = CityTable();
    for (int i = 0; i < kCityCount; ++i)
        if (cities[i].name == cityName) return i;
    return -1;
}

std::vector<std::string> CategoryChoices() {
    std::vector<std::string> choices{std::string()};
    for (const auto& group : CategoryGroup()) {
        choices.push_back(group.label);
        choices.insert(choices.end(), group.members.begin(), group.members.end());
    }
    return choices;
}
