#pragma once
#include <cstdint>
#include <string>

// How an offer changed since the previous download.
enum class OfferChange : std::uint8_t { Unchanged, New, Cheaper, Dearer };

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
    // Set from the price history, never by the page parsers. Kept last, so that
    // the nine page fields keep their positions; the two add one 8-byte slot.
    OfferChange change = OfferChange::Unchanged;
    int previousPrice = -1;  // the previous download's price when Cheaper or Dearer

    bool operator==(const ProductRecord&) const = default;
};
