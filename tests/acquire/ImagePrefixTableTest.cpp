#include <gtest/gtest.h>

#include "acquire/ImagePrefixTable.h"
#include "shopdata/FixedTables.h"
#include "shopdata/TextConversion.h"

namespace {

TEST(ImagePrefixTable, CategoriesFollowTheCategoryGroups) {
    const auto& table = ImagePrefixTable();
    EXPECT_EQ(table[0].prefix, "trade_");
    EXPECT_EQ(table[0].category, ToShiftJis("交易品"));
    EXPECT_EQ(table[17].prefix, "productmaterial");
    // Every row after the first names the members of the last three groups, in order.
    int row = 1;
    for (int group = 1; group < kCategoryGroupCount; ++group)
        for (const std::string& member : CategoryGroup()[group].members)
            EXPECT_EQ(table[row++].category, member) << row;
    EXPECT_EQ(row, kImagePrefixCount);
}

TEST(CategoryForImage, FirstRowInTableOrderWins) {
    const struct {
        const char* reference;
        const char* category;  // nullptr: no row matches
    } cases[] = {
        {"<img src=\"./img/itemcg/trade_food_01", "交易品"},
        {"cannon_12", "砲種"},
        {"special_equipment_0", "体装備"},
        {"special_equipment_9", "特殊兵装"},
        {"extra_armor_equipment_3", "手装備"},
        {"productmaterial01", "素材"},
        {"product_material_01", nullptr},
        {"Trade_01", nullptr},
        {"", nullptr},
        {"\x83trade_1", nullptr},  // "t" is the second byte of a character
    };
    for (const auto& c : cases) {
        const std::string* category = CategoryForImage(c.reference);
        EXPECT_EQ(category ? ShiftJisToUtf8(*category) : "(none)",
                  c.category ? c.category : "(none)")
            << c.reference;
    }
}

}  // namespace
