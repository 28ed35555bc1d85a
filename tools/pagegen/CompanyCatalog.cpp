#include "CompanyCatalog.h"

std::span<const std::string_view> CompanyNameHeads() {
    static constexpr std::string_view heads[] = {
        // The notable ones first.
        "①番街",      "髙嶋",         "ソレイユ",     "第②",      "ポラリス",       "表通り",
        "髙砂",       "ソコトラ",     "東方",         "黄金",     "白銀",           "地中海",
        "大西洋",     "北海",         "紅玉",         "蒼海",     "南蛮",           "琥珀",
        "薔薇",       "月光",         "暁",           "翡翠",     "疾風",           "七つの海",
        "碧",         "獅子",         "双頭の鷲",     "銀の錨",   "羅針盤",         "潮騒",
        "海燕",       "風見鶏",       "エスパーニャ", "ヴェネト", "カスティーリャ", "ソルト",
        "ポセイドン", "予言者",       "十字星",       "能登屋",   "ハンザ",         "レヴァント",
        "マグレブ",   "アンダルシア", "胡椒海岸",     "象牙海岸", "青い鳥",         "ポルトゥス",
    };
    return heads;
}

std::span<const std::string_view> CompanyNameTails() {
    static constexpr std::string_view tails[] = {
        "商会", "交易商会", "商店", "海運", "物産", "貿易", "工房", "組合", "屋", "商事", "交易所",
    };
    return tails;
}

std::span<const std::string_view> LeaderNames() {
    static constexpr std::string_view names[] = {
        "アルフォンソ", "ロレンツォ", "エリザベス", "ミゲル",   "カタリナ", "ヨハン",
        "ソフィア",     "ポール",     "ハンス",     "マリア",   "ジャン",   "イザベラ",
        "髙木",         "サラ",       "アフメト",   "ピエトロ", "クララ",   "ディエゴ",
    };
    return names;
}
