#include "shopdata/FixedTables.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "shopdata/ProductRecord.h"
#include "shopdata/TextConversion.h"

namespace {

TEST(ProductRecord, DefaultsMarkCombatFiguresAsNotGiven) {
    const ProductRecord r;
    EXPECT_EQ(r.productName, "");
    EXPECT_EQ(r.stock, 0);
    EXPECT_EQ(r.price, 0);
    EXPECT_EQ(r.durability, -1);
    EXPECT_EQ(r.attack, -1);
    EXPECT_EQ(r.defense, -1);
}

TEST(CityTable, LooksUpByExactName) {
    EXPECT_EQ(FindCityIndex(ToShiftJis("アムステルダム")), 4);
    EXPECT_EQ(FindCityIndex(ToShiftJis("アレクサンドリア")), 10);
    EXPECT_EQ(FindCityIndex(ToShiftJis("アムステルダム ")), -1);
    EXPECT_EQ(CityTable()[6].id, 23);
    EXPECT_EQ(CityTable()[12].id, 70);
}

TEST(CategoryGroup, MembersAndChoices) {
    const auto& groups = CategoryGroup();
    auto isMember = [&](int group, const char* name) {
        const auto& m = groups[group].members;
        return std::find(m.begin(), m.end(), ToShiftJis(name)) != m.end();
    };
    EXPECT_FALSE(isMember(0, "交易品"));
    EXPECT_TRUE(isMember(1, "武器・道具"));
    EXPECT_EQ(groups[0].members.size() + groups[1].members.size() + groups[2].members.size() +
                  groups[3].members.size(),
              40u);
    const auto choices = CategoryChoices();
    ASSERT_EQ(choices.size(), 45u);
    EXPECT_EQ(choices[0], "");
    EXPECT_EQ(choices[1], ToShiftJis("交易品（全て）"));
    EXPECT_EQ(choices[22], ToShiftJis("装備品（全て）"));
    EXPECT_EQ(choices[44], ToShiftJis("家具"));
}

TEST(ColumnTitles, CombatColumnsAreAttackDefenseDurability) {
    EXPECT_EQ(ColumnTitles()[kColumnAttack], ToShiftJis("攻撃力"));
    EXPECT_EQ(ColumnTitles()[kColumnDurability], ToShiftJis("耐久度"));
}

}  // namespace
