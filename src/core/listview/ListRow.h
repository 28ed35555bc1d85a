#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum CellAlignment : int {
    kAlignLeft = 0,
    kAlignRight = 1,
    kAlignCentre = 2,  // any other value draws left
};

// One cell of a shown product row. Colours are 0x00BBGGRR.
struct ListCell {
    std::string text;
    int alignment = kAlignLeft;
    std::uint32_t textColor = 0x000000;
    std::uint32_t backColor = 0xFFFFFF;

    bool operator==(const ListCell&) const = default;
};

// The display texts of one shown product, one cell per column in column order.
using ListRow = std::vector<ListCell>;
