#include "listview/CellTexts.h"

#include <charconv>
#include <cstdlib>

#include "listview/ColumnFields.h"
#include "shopdata/FixedTables.h"

std::string CellText(const ProductRecord& record, int column) {
    if (column < 0 || column >= kColumnCount) return {};
    CellRoom room;
    return std::string(CellTextView(record, column, room));
}

std::string_view CellTextView(const ProductRecord& record, int column, CellRoom& room) {
    if (IsTextColumn(column)) return ProductText(record, column);
    const int number = ShownNumber(record, column);
    // Combat figures of 0 and -1 (not given) both show as an empty cell.
    if (IsFigureColumn(column) && number == 0) return {};
    char* const end = column == kColumnPrice
                          ? WritePrice(number, room.text)
                          : std::to_chars(room.text, room.text + sizeof room.text, number).ptr;
    return std::string_view(room.text, static_cast<size_t>(end - room.text));
}

CellAlignment CellAlignmentOf(int column) {
    return column >= kColumnStock && column <= kColumnDurability ? CellAlignment::Right
                                                                 : CellAlignment::Left;
}

std::string FormatPrice(int value) {
    char text[16];
    return std::string(text, WritePrice(value, text));
}

char* WritePrice(int value, char* out) {
    char digits[16];
    const char* const end =
        std::to_chars(digits, digits + sizeof digits, std::llabs(static_cast<long long>(value)))
            .ptr;
    const auto count = static_cast<size_t>(end - digits);
    if (value < 0) *out++ = '-';
    // The digits before the first separator, then groups of three.
    size_t lead = count % 3;
    if (lead == 0) lead = 3;
    for (size_t i = 0; i < count; ++i) {
        if (i >= lead && (i - lead) % 3 == 0) *out++ = ',';
        *out++ = digits[i];
    }
    return out;
}
