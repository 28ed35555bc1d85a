#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "shopdata/ProductRecord.h"

// One download's offers as the history records them: each distinct name once, and
// per offer the numbers of its names, in the order the pages list them. Under a
// quarter of the records' size and tied to nothing, so a thread of its own can record it
// while the list sorts the records.
struct OfferTable {
    enum Column { Product, Category, Company, City };
    struct Offer {
        std::array<std::uint32_t, 4> names;  // positions in `names`, by Column
        int stock = 0;
        int price = 0;
        int durability = 0;
        int attack = 0;
        int defense = 0;
    };

    std::array<std::vector<std::string>, 4> names;  // by Column
    std::vector<Offer> offers;
};

OfferTable MakeOfferTable(const std::vector<ProductRecord>& records);
