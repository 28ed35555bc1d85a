#pragma once
#include <string>
#include <string_view>

#include "shopdata/ProductRecord.h"

enum class CellAlignment { Left, Right };

// The text of one shown cell of a product: numbers as "%d", the price with its
// thousands separators, combat figures of 0 and -1 (not given) as an empty cell.
// Empty for a column that does not exist.
std::string CellText(const ProductRecord& record, int column);

// Room for the text of a number cell, the longest being "-2,147,483,648".
struct CellRoom {
    char text[16];
};

// The same text without a copy, for a writer of many cells: a view of the
// record's field, or of `room` where a number is written. The column must exist.
std::string_view CellTextView(const ProductRecord& record, int column, CellRoom& room);

// Numbers right, texts left.
CellAlignment CellAlignmentOf(int column);

// The price cell's text: thousands separated by ",", a minus sign in front of
// negative values ("-1,234").
std::string FormatPrice(int value);
// The same text written at `out`, which has room for 16 characters; returns its end.
char* WritePrice(int value, char* out);
