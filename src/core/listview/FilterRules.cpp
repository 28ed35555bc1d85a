#include "listview/FilterRules.h"

#include <algorithm>

#include "shopdata/ShiftJisText.h"
#include "shopdata/TextConversion.h"

const std::array<std::string, kConditionCount>& ConditionTexts() {
    static const std::array<std::string, kConditionCount> texts = {
        ToShiftJis("以上"), ToShiftJis("以下"), ToShiftJis("と等しい")};
    return texts;
}

namespace {

void ReadConditionInput(std::string_view text, int conditionIndex, int& value,
                        Condition& condition) {
    if (!text.empty() && conditionIndex >= 0) {
        value = AtoiReading(text);
        condition = static_cast<Condition>(conditionIndex);
    } else {
        value = -1;
        condition = Condition::None;
    }
}

}  // namespace

FilterInputs MakeFilterInputs(std::string nameText, std::string categoryText,
                              std::string_view priceText, int priceConditionIndex,
                              std::string_view stockText, int stockConditionIndex, bool cheapest,
                              bool changedOnly) {
    FilterInputs inputs;
    inputs.nameText = std::move(nameText);
    inputs.categoryText = std::move(categoryText);
    ReadConditionInput(priceText, priceConditionIndex, inputs.priceValue, inputs.priceCondition);
    ReadConditionInput(stockText, stockConditionIndex, inputs.stockValue, inputs.stockCondition);
    inputs.cheapestOnly = cheapest;
    inputs.changedOnly = changedOnly;
    return inputs;
}

bool AnyFilterSet(const FilterInputs& inputs) {
    return !inputs.nameText.empty() || !inputs.categoryText.empty() || inputs.priceValue >= 0 ||
           inputs.priceCondition != Condition::None || inputs.stockValue >= 0 ||
           inputs.stockCondition != Condition::None || inputs.cheapestOnly || inputs.changedOnly;
}

NameKeywordFilter::NameKeywordFilter(std::string_view nameText) {
    // A trail byte is never 0x20, so a single-byte space always separates; a
    // full-width space stays part of its keyword.
    size_t start = 0;
    while (start <= nameText.size()) {
        size_t end = nameText.find(' ', start);
        if (end == std::string_view::npos) end = nameText.size();
        if (end > start) m_keywords.push_back(nameText.substr(start, end - start));
        start = end + 1;
    }
}

bool NameKeywordFilter::Matches(std::string_view productName) const {
    return std::all_of(m_keywords.begin(), m_keywords.end(), [&](std::string_view keyword) {
        return ShiftJisContains(productName, keyword);
    });
}

CategoryFilter::CategoryFilter(std::string_view categoryText) : m_text(categoryText) {
    for (const auto& group : CategoryGroup()) {
        if (group.label == categoryText) {
            m_groupMembers = &group.members;
            break;
        }
    }
}

bool CategoryFilter::Matches(std::string_view category) const {
    if (m_text.empty()) return true;
    if (m_groupMembers)
        return std::find(m_groupMembers->begin(), m_groupMembers->end(), category) !=
               m_groupMembers->end();
    return category == m_text;
}

bool MatchesCondition(int fieldValue, int inputValue, Condition condition) {
    if (inputValue < 0) return true;
    switch (condition) {
        case Condition::AtLeast:
            return fieldValue >= inputValue;
        case Condition::AtMost:
            return fieldValue <= inputValue;
        case Condition::Equal:
            return fieldValue == inputValue;
        default:
            return true;
    }
}

bool IsCityEnabled(std::string_view cityName, const CityFlags& flags) {
    const int index = FindCityIndex(cityName);
    return index >= 0 && flags[index];
}

bool EnabledCities::Contains(std::string_view cityName) {
    if (!m_answered || cityName != m_lastName) {
        m_lastName = cityName;
        m_lastAnswer = IsCityEnabled(cityName, m_flags);
        m_answered = true;
    }
    return m_lastAnswer;
}

bool AddSearchHistoryEntry(std::vector<std::string>& history, std::string_view nameText) {
    if (nameText.empty()) return false;
    if (std::find(history.begin(), history.end(), nameText) != history.end()) return false;
    history.emplace_back(nameText);
    return true;
}
