#pragma once
#include <string>

#include "shopdata/ProductRecord.h"

enum class CellAlignment { Left, Right };

// The text of one shown cell of a product: numbers as "%d", the price with its
// thousands separators, combat figures of 0 and -1 (not given) as an empty cell.
// Empty for a column that does not exist.
std::string CellText(const ProductRecord& record, int column);

// Numbers right, texts left.
CellAlignment CellAlignmentOf(int column);

// The price cell's text: thousands separated by ",", a minus sign in front of
// negative values ("-1,234").
std::string FormatPrice(int value);
