#pragma once
#include <span>
#include <string_view>
#include <vector>

// What the generated shops sell: kinds of items with their image name, category,
// names and the ranges of their figures. Text is UTF-8.

struct FigureRange {
    int low = 0;
    int high = 0;  // 0: the figure is not shown
    bool Shown() const { return high > 0; }
};

struct ItemKind {
    std::string_view imagePrefix{};  // the fragment that names the category
    int imageBase = 10;              // first number of the kind's image names
    std::string_view category{};     // for trade goods the sub-category after "分類："
    bool tradeGood = false;
    bool sexMarked = false;  // pets: the page adds a "♂" or "♀" to the name
    std::vector<std::string_view> names{};
    FigureRange attack{};
    FigureRange penetration{};
    FigureRange defense{};
    FigureRange durability{};
    std::string_view note{};  // a line of the description that carries no figure
    int lowPrice = 1;
    int highPrice = 1;
    int highStock = 1;
};

// Every image prefix and every trade sub-category occurs in at least one kind.
std::span<const ItemKind> ItemKinds();

// One sentence of product description, chosen at random to give rows a realistic
// length.
std::span<const std::string_view> DescriptionLines();
