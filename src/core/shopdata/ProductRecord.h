#pragma once
#include <string>

// One product line offered in one company's shop. Text is Shift-JIS; the combat
// figures are -1 when the page does not give them.
struct ProductRecord {
    std::string productName;
    std::string category;
    int stock = 0;
    int price = 0;
    int durability = -1;
    int attack = -1;  // also holds a penetration value
    int defense = -1;
    std::string companyName;
    std::string cityName;

    bool operator==(const ProductRecord&) const = default;
};
