#include "listview/ColumnFields.h"

#include <algorithm>

#include "shopdata/FixedTables.h"

bool IsTextColumn(int column) {
    return column == kColumnProductName || column == kColumnCategory ||
           column == kColumnCompanyName || column == kColumnCityName;
}

std::string_view ProductText(const ProductRecord& record, int column) {
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

int ProductNumber(const ProductRecord& record, int column) {
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

bool IsFigureColumn(int column) {
    return column == kColumnAttack || column == kColumnDefense || column == kColumnDurability;
}

int ShownNumber(const ProductRecord& record, int column) {
    const int value = ProductNumber(record, column);
    return IsFigureColumn(column) ? std::max(value, 0) : value;
}
