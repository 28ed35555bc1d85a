#pragma once
#include <string_view>

#include "shopdata/ProductRecord.h"

// Which record field each list column shows. The column must exist; a text
// function takes a text column, a number function a number column.

// Whether the column shows a text field: product, category, company or city.
bool IsTextColumn(int column);

// The text field a text column shows.
std::string_view ProductText(const ProductRecord& record, int column);

// The number field a number column shows, as stored.
int ProductNumber(const ProductRecord& record, int column);

// Whether the column holds a combat figure: attack, defense or durability.
bool IsFigureColumn(int column);

// The number a number column's cell shows, as an atoi reading of the cell would
// give it: the stored value, but a combat figure of 0 or -1 (not given) shows an
// empty cell and so reads as 0.
int ShownNumber(const ProductRecord& record, int column);
