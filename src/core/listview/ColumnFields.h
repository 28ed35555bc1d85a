#pragma once
#include <algorithm>
#include <string_view>

#include "shopdata/FixedTables.h"
#include "shopdata/ProductRecord.h"

// Which record field each list column shows. The column must exist; a text
// function takes a text column, a number function a number column. Defined here,
// since the sort, the filter and the writers ask for every cell of the table.

// Whether the column shows a text field: product, category, company or city.
inline bool IsTextColumn(int column) {
    return column == kColumnProductName || column == kColumnCategory ||
           column == kColumnCompanyName || column == kColumnCityName;
}

// The text field a text column shows.
inline std::string_view ProductText(const ProductRecord& record, int column) {
    switch (column) {
        case kColumnProductName:
            return record.productName;
        case kColumnCategory:
            return record.category;
        case kColumnCompanyName:
            return record.companyName;
        default:
            return record.cityName;
    }
}

// The number field a number column shows, as stored.
inline int ProductNumber(const ProductRecord& record, int column) {
    switch (column) {
        case kColumnStock:
            return record.stock;
        case kColumnPrice:
            return record.price;
        case kColumnAttack:
            return record.attack;
        case kColumnDefense:
            return record.defense;
        default:
            return record.durability;
    }
}

// Whether the column holds a combat figure: attack, defense or durability.
inline bool IsFigureColumn(int column) {
    return column == kColumnAttack || column == kColumnDefense || column == kColumnDurability;
}

// The number a number column's cell shows, as an atoi reading of the cell would
// give it: the stored value, but a combat figure of 0 or -1 (not given) shows an
// empty cell and so reads as 0.
inline int ShownNumber(const ProductRecord& record, int column) {
    const int value = ProductNumber(record, column);
    return IsFigureColumn(column) ? std::max(value, 0) : value;
}
