#include "history/ChangeMarks.h"

namespace {

// The price first: it sets most offers of a shop apart at once.
bool SameOffer(const ChangeMarks::Marked& marked, const ProductRecord& offer) {
    return marked.price == offer.price && marked.stock == offer.stock &&
           marked.durability == offer.durability && marked.attack == offer.attack &&
           marked.defense == offer.defense && marked.productName == offer.productName &&
           marked.category == offer.category;
}

}  // namespace

void ChangeMarks::Add(const std::string& companyName, const std::string& cityName, Marked marked) {
    m_shops[{companyName, cityName}].push_back(std::move(marked));
}

void ChangeMarks::MarkOffers(std::vector<ProductRecord>& offers) {
    // A shop's offers come together: its marks are looked up once for all of them.
    std::vector<Marked>* shop = nullptr;
    const ProductRecord* shopOffer = nullptr;
    for (ProductRecord& offer : offers) {
        offer.change = OfferChange::Unchanged;
        offer.previousPrice = -1;
        if (shopOffer == nullptr || offer.companyName != shopOffer->companyName ||
            offer.cityName != shopOffer->cityName) {
            const auto found = m_shops.find({offer.companyName, offer.cityName});
            shop = found == m_shops.end() ? nullptr : &found->second;
            shopOffer = &offer;
        }
        if (shop == nullptr) continue;
        for (Marked& marked : *shop)
            if (!marked.claimed && SameOffer(marked, offer)) {
                marked.claimed = true;
                offer.change = marked.change;
                offer.previousPrice = marked.previousPrice;
                break;
            }
    }
}
