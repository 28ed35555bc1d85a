#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "shopdata/ProductRecord.h"

// The offers that the latest recorded download added or repriced, with their
// marks, by shop: read from the store ahead of the offers they go to, so that the
// reading need not wait for the pages' parse.
class ChangeMarks {
public:
    struct Marked {
        int price = 0;
        int stock = 0;
        int durability = 0;
        int attack = 0;
        int defense = 0;
        std::string productName;
        std::string category;
        OfferChange change = OfferChange::Unchanged;
        int previousPrice = -1;
        bool claimed = false;
    };

    void Add(const std::string& companyName, const std::string& cityName, Marked marked);

    // Sets `change` and `previousPrice` of the offers, passed in any order: each
    // gets the mark of a marked offer of its shop with all values equal, each
    // marked offer marking one offer, so that among a shop's duplicates the values
    // tell which is which. The others are Unchanged. Once per set of marks.
    void MarkOffers(std::vector<ProductRecord>& offers);

private:
    std::map<std::pair<std::string, std::string>, std::vector<Marked>> m_shops;
};
