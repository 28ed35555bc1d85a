#include <gtest/gtest.h>

#include <climits>

#include "listview/FilterRules.h"
#include "listview/ListViewTestSupport.h"
#include "support/ShiftJisLiteral.h"

namespace {

TEST(MakeFilterInputs, ValueAndConditionCountOnlyTogether) {
    const struct {
        const char* text;
        int conditionIndex;
        int value;
        int condition;
    } cases[] = {
        {"1000", kConditionAtLeast, 1000, kConditionAtLeast},
        {"1000", -1, -1, -1},                          // a value without a condition
        {"", kConditionAtMost, -1, -1},                // a condition without a value
        {"abc", kConditionEqual, 0, kConditionEqual},  // no digits read as 0
        {"-5", kConditionAtMost, -5, kConditionAtMost},
        {" 12x", kConditionAtLeast, 12, kConditionAtLeast},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const FilterInputs price =
            MakeFilterInputs("", "", c.text, c.conditionIndex, "", -1, false);
        EXPECT_EQ(price.priceValue, c.value);
        EXPECT_EQ(price.priceCondition, c.condition);
        EXPECT_EQ(price.stockValue, -1);
        EXPECT_EQ(price.stockCondition, -1);
        const FilterInputs stock =
            MakeFilterInputs("", "", "", -1, c.text, c.conditionIndex, false);
        EXPECT_EQ(stock.stockValue, c.value);
        EXPECT_EQ(stock.stockCondition, c.condition);
        EXPECT_EQ(stock.priceValue, -1);
    }
    const FilterInputs texts = MakeFilterInputs(S("剣"), S("砲種"), "", -1, "", -1, true);
    EXPECT_EQ(texts.nameText, S("剣"));
    EXPECT_EQ(texts.categoryText, S("砲種"));
    EXPECT_TRUE(texts.cheapestOnly);
}

TEST(AnyFilterSet, EachInputCountsAlone) {
    EXPECT_FALSE(AnyFilterSet(FilterInputs{}));
    const FilterInputs cases[] = {
        MakeFilterInputs("a", "", "", -1, "", -1, false),
        MakeFilterInputs("", "b", "", -1, "", -1, false),
        MakeFilterInputs("", "", "0", kConditionEqual, "", -1, false),
        MakeFilterInputs("", "", "", -1, "3", kConditionAtLeast, false),
        MakeFilterInputs("", "", "-3", kConditionAtLeast, "", -1, false),  // no filter, but set
        MakeFilterInputs("", "", "", -1, "", -1, true),
    };
    for (const auto& inputs : cases) EXPECT_TRUE(AnyFilterSet(inputs));
}

TEST(MatchesNameKeywords, EverySpaceSeparatedKeywordMustOccur) {
    const struct {
        const char* name;
        const char* text;
        bool matches;
    } cases[] = {
        {"上質な絹織物", "", true},
        {"上質な絹織物", "上質 絹", true},
        {"絹の上質な布", "上質 絹", true},  // any order
        {"上質な綿織物", "上質 絹", false},
        {"上質な絹織物", "上質  絹", true},  // doubled space
        {"上質な綿織物", "上質  絹", false},
        {"上質な絹織物", " 絹", true},  // leading space
        {"上質な綿織物", " 絹", false},
        {"上質な絹織物", "絹 ", true},
        {"上質な絹織物", "上質 絹 織物", true},
        {"上質な絹織物", "上質 絹 毛皮", false},
        {"Sword of Kings", "Sword", true},
        {"Sword of Kings", "sword", false},  // case-sensitive
        {"Sword of Kings", "SWORD", false},
        {"上質な絹織物", "上質　絹", false},  // a full-width space belongs to the keyword
        {"上質　絹", "上質　絹", true},
        {"アイテム", "A", false},  // "ア" is 83 41
        {"ソード", "\\", false},   // "ソ" is 83 5C
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(MatchesNameKeywords(S(c.name), S(c.text)), c.matches);
    }
    // 82 A0 82 A2 ("あい") holds A0 82 only across the character boundary.
    EXPECT_FALSE(MatchesNameKeywords(S("あい"), "\xA0\x82"));
}

TEST(MatchesCategory, GroupLabelsMatchTheirMembersOnly) {
    const struct {
        const char* category;
        const char* text;
        bool matches;
    } cases[] = {
        {"砲種", "", true},
        {"食料品", "交易品（全て）", true},
        {"雑貨", "交易品（全て）", true},
        {"交易品", "交易品（全て）", false},
        {"交易品（全て）", "交易品（全て）", false},
        {"食料品", "その他（全て）", false},
        {"武器・道具", "装備品（全て）", true},
        {"砲種", "船部品（全て）", true},
        {"家具", "その他（全て）", true},
        {"砲種", "砲種", true},
        {"補助帆", "砲種", false},
        {"交易品", "交易品", true},
        {"", "砲種", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(MatchesCategory(S(c.category), S(c.text)), c.matches);
    }
}

TEST(MatchesCondition, NegativeValueOrNoConditionFiltersNothing) {
    const struct {
        int field, input, condition;
        bool matches;
    } cases[] = {
        {1000, 1000, kConditionAtLeast, true}, {999, 1000, kConditionAtLeast, false},
        {1000, 1000, kConditionAtMost, true},  {1001, 1000, kConditionAtMost, false},
        {0, 0, kConditionEqual, true},         {5, 0, kConditionEqual, false},
        {5, -1, kConditionAtLeast, true},      {5, 10, -1, true},
        {5, -3, kConditionEqual, true},        {5, 10, 7, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.field << " " << c.input << " " << c.condition);
        EXPECT_EQ(MatchesCondition(c.field, c.input, c.condition), c.matches);
    }
}

TEST(IsCityEnabled, FollowsTheFlagOfTheExactName) {
    CityFlags flags = AllCities();
    for (const auto& city : CityTable()) EXPECT_TRUE(IsCityEnabled(city.name, flags));
    EXPECT_FALSE(IsCityEnabled(S("東京"), flags));
    EXPECT_FALSE(IsCityEnabled(S("セビリア "), flags));
    EXPECT_FALSE(IsCityEnabled("", flags));
    flags[4] = 0;
    EXPECT_FALSE(IsCityEnabled(S("アムステルダム"), flags));
    EXPECT_TRUE(IsCityEnabled(S("アレクサンドリア"), flags));
    flags.fill(0);
    for (const auto& city : CityTable()) EXPECT_FALSE(IsCityEnabled(city.name, flags));
}

TEST(EnabledCities, AnswersAsIsCityEnabledThroughRunsOfNames) {
    CityFlags flags = AllCities();
    flags[FindCityIndex(S("アテネ"))] = 0;
    const std::vector<std::string> names = {S("ナポリ"), S("ナポリ"), S("アテネ"), S("アテネ"),
                                            S("東京"),   S("ナポリ"), "",          S("アテネ")};
    EnabledCities cities(flags);
    for (const auto& name : names) EXPECT_EQ(cities.Contains(name), IsCityEnabled(name, flags));
    EXPECT_FALSE(EnabledCities(flags).Contains(""));
}

TEST(FormatPrice, GroupsThousands) {
    const struct {
        int value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {100, "100"},
        {999, "999"},
        {1000, "1,000"},
        {100000, "100,000"},
        {1234567, "1,234,567"},
        {INT_MAX, "2,147,483,647"},
        {-1, "-1"},
        {-123, "-123"},
        {-1234, "-1,234"},
        {INT_MIN, "-2,147,483,648"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatPrice(c.value), c.text);
}

TEST(AddSearchHistoryEntry, AddsEachNonEmptyNameOnce) {
    std::vector<std::string> history;
    EXPECT_FALSE(AddSearchHistoryEntry(history, ""));
    EXPECT_TRUE(AddSearchHistoryEntry(history, S("絹織物")));
    EXPECT_TRUE(AddSearchHistoryEntry(history, S("剣")));
    EXPECT_FALSE(AddSearchHistoryEntry(history, S("絹織物")));
    EXPECT_TRUE(AddSearchHistoryEntry(history, S("絹織物 ")));
    EXPECT_EQ(history, (std::vector<std::string>{S("絹織物"), S("剣"), S("絹織物 ")}));
}

}  // namespace
