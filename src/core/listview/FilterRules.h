#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "shopdata/FixedTables.h"

// The rules by which the product list is filtered. Texts are Shift-JIS.

// Selected index of the price and stock condition boxes; None when none is chosen.
enum class Condition : int {
    None = -1,
    AtLeast = 0,
    AtMost = 1,
    Equal = 2,
};
inline constexpr int kConditionCount = 3;

// The condition boxes' entries, in index order.
const std::array<std::string, kConditionCount>& ConditionTexts();

// What the filter toolbars hold when a filter run starts. A value and its
// condition are either both set or -1 and None.
struct FilterInputs {
    std::string nameText;
    std::string categoryText;
    int priceValue = -1;
    Condition priceCondition = Condition::None;
    int stockValue = -1;
    Condition stockCondition = Condition::None;
    bool cheapestOnly = false;
    // Only offers that are new or repriced since the previous download.
    bool changedOnly = false;
};

// Reads the toolbar values: a number counts only when its box is not empty and a
// condition is chosen, and is read as atoi does.
FilterInputs MakeFilterInputs(std::string nameText, std::string categoryText,
                              std::string_view priceText, int priceConditionIndex,
                              std::string_view stockText, int stockConditionIndex, bool cheapest,
                              bool changedOnly = false);

// Whether any toolbar input restricts the list; the city flags do not count.
bool AnyFilterSet(const FilterInputs& inputs);

// The name text split at single-byte spaces; every piece must occur in the
// product name. Keeps views into the text it was made from.
class NameKeywordFilter {
public:
    explicit NameKeywordFilter(std::string_view nameText);
    bool Matches(std::string_view productName) const;

private:
    // Empty pieces are left out: they occur in every name.
    std::vector<std::string_view> m_keywords;
};

// A category name or a group label chosen in the category box. Keeps a view into
// the text it was made from.
class CategoryFilter {
public:
    explicit CategoryFilter(std::string_view categoryText);
    bool Matches(std::string_view category) const;

private:
    std::string_view m_text;
    const std::vector<std::string>* m_groupMembers = nullptr;  // when the text is a group label
};

// Whether a price or stock passes its condition; a negative value or no condition
// lets everything pass.
bool MatchesCondition(int fieldValue, int inputValue, Condition condition);

// A city that is not in CityTable is never shown.
bool IsCityEnabled(std::string_view cityName, const CityFlags& flags);

// IsCityEnabled for a pass through a table. Neighbouring records mostly come from
// one shop, so the answer for the previous name is kept; the names must outlive
// the pass.
class EnabledCities {
public:
    explicit EnabledCities(const CityFlags& flags) : m_flags(flags) {}
    bool Contains(std::string_view cityName);

private:
    CityFlags m_flags;
    std::string_view m_lastName;
    bool m_lastAnswer = false;
    bool m_answered = false;
};

// Appends a searched name to the history unless it is empty or already there
// byte for byte; returns whether it was added.
bool AddSearchHistoryEntry(std::vector<std::string>& history, std::string_view nameText);
