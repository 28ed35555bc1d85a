#include "listview/CellTexts.h"

#include <cstdlib>

#include "listview/ColumnFields.h"
#include "shopdata/FixedTables.h"
#include "shopdata/ShiftJisText.h"

std::string CellText(const ProductRecord& record, int column) {
    if (column < 0 || column >= kColumnCount) return {};
    if (IsTextColumn(column)) return std::string(ProductText(record, column));
    const int number = ShownNumber(record, column);
    // Combat figures of 0 and -1 (not given) both show as an empty cell.
    if (IsFigureColumn(column) && number == 0) return {};
    return column == kColumnPrice ? FormatPrice(number) : FormatInt(number);
}

CellAlignment CellAlignmentOf(int column) {
    return column >= kColumnStock && column <= kColumnDurability ? CellAlignment::Right
                                                                 : CellAlignment::Left;
}

std::string FormatPrice(int value) {
    const std::string digits = std::to_string(std::llabs(static_cast<long long>(value)));
    std::string text;
    if (value < 0) text += '-';
    size_t lead = digits.size() % 3;
    if (lead == 0) lead = 3;
    text.append(digits, 0, lead);
    for (size_t i = lead; i < digits.size(); i += 3) {
        text += ',';
        text.append(digits, i, 3);
    }
    return text;
}
