#include "acquire/ImagePrefixTable.h"

#include "shopdata/ShiftJisText.h"
#include "shopdata/TextConversion.h"

const std::array<ImagePrefixRow, kImagePrefixCount>& ImagePrefixTable() {
    static const std::array<ImagePrefixRow, kImagePrefixCount> table = [] {
        const char* const rows[kImagePrefixCount][2] = {
            {"trade_", "交易品"},
            {"equipment_0", "体装備"},
            {"equipment_1", "頭装備"},
            {"equipment_2", "足装備"},
            {"equipment_3", "手装備"},
            {"equipment_4", "武器・道具"},
            {"equipment_5", "装身具"},
            {"studding_sail_", "補助帆"},
            {"cannon_", "砲種"},
            {"extra_armor_", "追加装甲"},
            {"special_equipment_", "特殊兵装"},
            {"figure_head_", "船首像"},
            {"sail_emblem_", "紋章"},
            {"consumption_", "消耗品"},
            {"lottery_", "ロット"},
            {"recipe_note_", "レシピ帳"},
            {"treasurebox_", "宝箱"},
            {"productmaterial", "素材"},
            {"pet_cert_", "ペット権利書"},
            {"discovery_map_", "地図"},
            {"furniture_", "家具"},
        };
        std::array<ImagePrefixRow, kImagePrefixCount> built;
        for (int i = 0; i < kImagePrefixCount; ++i) built[i] = {rows[i][0], ToShiftJis(rows[i][1])};
        return built;
    }();
    return table;
}

const std::string* CategoryForImage(std::string_view imageReference) {
    for (const ImagePrefixRow& row : ImagePrefixTable())
        if (ShiftJisContains(imageReference, row.prefix)) return &row.category;
    return nullptr;
}
