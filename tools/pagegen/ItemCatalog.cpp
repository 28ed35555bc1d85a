#include "ItemCatalog.h"

namespace {

ItemKind Trade(std::string_view category, int imageBase, std::vector<std::string_view> names,
               int lowPrice, int highPrice) {
    return {.imagePrefix = "trade_",
            .imageBase = imageBase,
            .category = category,
            .tradeGood = true,
            .names = std::move(names),
            .lowPrice = lowPrice,
            .highPrice = highPrice,
            .highStock = 4800};
}

std::vector<ItemKind> BuildKinds() {
    // clang-format off
    return {
        Trade("食料品", 100, {"小麦", "チーズ", "ソーセージ", "塩漬け肉", "干し魚", "ジャガイモ"}, 8, 400),
        Trade("調味料", 120, {"岩塩", "砂糖", "オリーブ油", "ワインビネガー", "魚醤"}, 10, 600),
        Trade("酒類", 140, {"ワイン", "ポートワイン", "ラム酒", "ウイスキー", "蜂蜜酒", "ビール"}, 20, 900),
        Trade("嗜好品", 160, {"茶", "コーヒー豆", "カカオ", "煙草", "紅茶"}, 40, 1500),
        Trade("香辛料", 180, {"胡椒", "シナモン", "ナツメグ", "クローブ", "サフラン", "唐辛子"}, 60, 3000),
        Trade("医薬品", 200, {"薬草", "没薬", "キナ皮", "甘草", "樟脳"}, 50, 2500),
        Trade("繊維", 220, {"綿花", "羊毛", "亜麻", "絹糸", "麻"}, 15, 800),
        Trade("織物", 240, {"綿織物", "絹織物", "ビロード", "ラシャ", "ダマスク織"}, 80, 3500),
        Trade("染料", 260, {"藍", "紅花", "コチニール", "蘇芳", "大青"}, 40, 2000),
        Trade("貴金属", 280, {"金", "銀", "白金", "砂金"}, 500, 9000),
        Trade("鉱石", 300, {"鉄鉱石", "銅鉱石", "錫鉱石", "硫黄", "石炭", "硝石"}, 10, 700),
        Trade("香料", 320, {"麝香", "龍涎香", "白檀", "乳香", "ローズ油"}, 200, 6000),
        Trade("宝石", 340, {"真珠", "琥珀", "珊瑚", "ルビー", "サファイア", "翡翠"}, 300, 20000),
        Trade("家畜", 360, {"羊", "牛", "馬", "鶏", "山羊"}, 30, 1200),
        Trade("武具", 380, {"刀剣", "甲冑", "鎖帷子", "盾", "ソードブレイカー"}, 300, 5000),
        Trade("火器", 400, {"火縄銃", "大砲", "火薬", "砲弾"}, 150, 6000),
        Trade("美術品", 420, {"絵画", "彫刻", "能面", "宗教画", "浮世絵"}, 800, 30000),
        Trade("工芸品", 440, {"陶器", "漆器", "ガラス細工", "象牙細工", "表装屏風"}, 200, 8000),
        Trade("工業品", 460, {"木材", "鉄材", "紙", "板ガラス", "石材"}, 10, 900),
        Trade("雑貨", 480, {"蝋燭", "石鹸", "羽根ペン", "ポプリ", "籐の籠"}, 5, 300),
        {.imagePrefix = "equipment_0", .category = "体装備",
         .names = {"ブリガンダイン", "サーコート", "貴族の服", "ロングコート", "ソフトレザーアーマー", "キュイラス"},
         .defense = {2, 18}, .durability = {20, 120}, .note = "装備条件：レベル10以上",
         .lowPrice = 800, .highPrice = 450000, .highStock = 20},
        {.imagePrefix = "equipment_1", .category = "頭装備",
         .names = {"羽根付き帽子", "トリコーン", "ターバン", "バンダナ", "モリオン"},
         .defense = {1, 9}, .durability = {10, 80},
         .lowPrice = 500, .highPrice = 120000, .highStock = 20},
        {.imagePrefix = "equipment_2", .category = "足装備",
         .names = {"革のブーツ", "サンダル", "乗馬用ブーツ", "ポーレーン"},
         .defense = {1, 6}, .durability = {10, 60},
         .lowPrice = 400, .highPrice = 90000, .highStock = 20},
        {.imagePrefix = "equipment_3", .category = "手装備",
         .names = {"革の手袋", "ガントレット", "絹の手袋", "鷹匠の手袋"},
         .defense = {1, 5}, .durability = {10, 60},
         .lowPrice = 300, .highPrice = 80000, .highStock = 20},
        {.imagePrefix = "equipment_4", .category = "武器・道具",
         .names = {"レイピア", "カトラス", "サーベル", "ブロードソード", "ファルシオン", "ショートソード"},
         .attack = {6, 42}, .durability = {30, 150}, .note = "装備条件：剣術",
         .lowPrice = 1200, .highPrice = 800000, .highStock = 15},
        {.imagePrefix = "equipment_4", .imageBase = 60, .category = "武器・道具",
         .names = {"マスケット銃", "フリントロック銃", "短銃", "ブランダーバス"},
         .attack = {8, 38}, .penetration = {4, 26}, .durability = {30, 120}, .note = "装備条件：銃術",
         .lowPrice = 3000, .highPrice = 900000, .highStock = 10},
        {.imagePrefix = "equipment_5", .category = "装身具",
         .names = {"金の指輪", "ロザリオ", "懐中時計", "真珠の首飾り", "ソロモンの指輪"},
         .lowPrice = 2000, .highPrice = 2500000, .highStock = 10},
        {.imagePrefix = "studding_sail_", .category = "補助帆",
         .names = {"スタディングスル", "トップスル補助帆", "ラテン補助帆"},
         .durability = {100, 900}, .note = "縦帆性能：+4 横帆性能：+6",
         .lowPrice = 20000, .highPrice = 1800000, .highStock = 8},
        {.imagePrefix = "cannon_", .category = "砲種",
         .names = {"カノン砲", "カルバリン砲", "デミカノン砲", "榴弾砲", "ペリエ砲"},
         .attack = {10, 60}, .penetration = {6, 34}, .durability = {200, 1500}, .note = "射程：中",
         .lowPrice = 15000, .highPrice = 3000000, .highStock = 12},
        {.imagePrefix = "extra_armor_", .category = "追加装甲",
         .names = {"鉄板装甲", "木製追加装甲", "銅板装甲", "鋼鉄装甲"},
         .defense = {5, 40}, .durability = {100, 2000},
         .lowPrice = 25000, .highPrice = 4000000, .highStock = 8},
        // Numbers from 6 up: "special_equipment_0".."_5" would hold the body
        // equipment fragment "equipment_0".."_5".
        {.imagePrefix = "special_equipment_", .imageBase = 610, .category = "特殊兵装",
         .names = {"衝角", "火船", "鉤縄", "ギリシア火"},
         .attack = {5, 25}, .durability = {50, 600}, .note = "使用回数：10",
         .lowPrice = 30000, .highPrice = 2000000, .highStock = 6},
        {.imagePrefix = "figure_head_", .category = "船首像",
         .names = {"女神像", "獅子像", "ポセイドン像", "一角獣像"},
         .defense = {1, 8},
         .lowPrice = 40000, .highPrice = 6000000, .highStock = 4},
        {.imagePrefix = "sail_emblem_", .category = "紋章",
         .names = {"獅子の紋章", "双頭の鷲の紋章", "百合の紋章", "髑髏の紋章"},
         .lowPrice = 10000, .highPrice = 1200000, .highStock = 6},
        {.imagePrefix = "consumption_", .category = "消耗品",
         .names = {"傷薬", "気付け薬", "ラム酒の小樽", "航海日誌", "ネズミ捕り", "修理用木材"},
         .note = "使用すると消費されます",
         .lowPrice = 50, .highPrice = 60000, .highStock = 900},
        {.imagePrefix = "lottery_", .category = "ロット",
         .names = {"商会くじ", "航海者くじ", "宝探しくじ"},
         .lowPrice = 1000, .highPrice = 20000, .highStock = 300},
        {.imagePrefix = "recipe_note_", .category = "レシピ帳",
         .names = {"地中海料理の本 第1巻", "造船技術書 第2巻", "工芸技法 第3巻", "保存食の作り方"},
         .note = "生産スキルが必要です",
         .lowPrice = 5000, .highPrice = 400000, .highStock = 20},
        {.imagePrefix = "treasurebox_", .category = "宝箱",
         .names = {"古びた宝箱", "黄金の宝箱", "海賊の宝箱", "鉄の小箱"},
         .lowPrice = 3000, .highPrice = 9800000, .highStock = 5},
        {.imagePrefix = "productmaterial", .category = "素材",
         .names = {"上質な木材", "鋼鉄", "なめし革", "帆布", "ピッチ"},
         .lowPrice = 100, .highPrice = 80000, .highStock = 2000},
        {.imagePrefix = "pet_cert_", .category = "ペット権利書", .sexMarked = true,
         .names = {"黒猫の権利書", "三毛猫の権利書", "ポメラニアンの権利書", "オウムの権利書", "ダルメシアンの権利書", "白馬の権利書"},
         .lowPrice = 50000, .highPrice = 5000000, .highStock = 3},
        {.imagePrefix = "discovery_map_", .category = "地図",
         .names = {"アフリカ西岸の地図", "古い海図", "東地中海の地図", "ソコトラ島の地図"},
         .lowPrice = 2000, .highPrice = 300000, .highStock = 10},
        {.imagePrefix = "furniture_", .category = "家具",
         .names = {"樫のテーブル", "ペルシャ絨毯", "天蓋付きベッド", "本棚", "ソファ"},
         .lowPrice = 8000, .highPrice = 1500000, .highStock = 5},
    };
    // clang-format on
}

}  // namespace

std::span<const ItemKind> ItemKinds() {
    static const std::vector<ItemKind> kinds = BuildKinds();
    return kinds;
}

std::span<const std::string_view> DescriptionLines() {
    static constexpr std::string_view lines[] = {
        "各地の港で広く取引されている品。",
        "品質の良さには定評がある。",
        "遠方の市場では高値で取引されることもある。",
        "熟練の職人が手掛けた逸品。",
        "長い航海にも耐える丈夫な作り。",
        "商会の倉庫から直送された品です。",
        "数量限定での販売となります。",
        "交易所の相場より割安な価格で提供中。",
        "ご購入は在庫がなくなり次第終了します。",
        "ソフィア船長おすすめの一品。",
    };
    return lines;
}
