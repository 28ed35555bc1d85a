#include "listview/CheapestSet.h"

#include <algorithm>
#include <cstdint>

#include "listview/FetchAhead.h"
#include "listview/FilterRules.h"
#include "listview/TextIds.h"
#include "shopdata/ShiftJisText.h"

std::vector<ProductRecord> BuildCheapestSet(const std::vector<ProductRecord>& products,
                                            const CityFlags& flags, SortKey key) {
    // Names equal under the multibyte order have equal bytes, so offers are
    // grouped by hashing and only the cheapest ones are put in name order.
    TextIds names;
    std::vector<size_t> cheapest;  // by name id
    EnabledCities cities(flags);
    for (size_t i = 0; i < products.size(); ++i) {
        FetchNameAhead(products, i);
        const ProductRecord& offer = products[i];
        if (!cities.Contains(offer.cityName)) continue;
        const std::uint32_t id = names.IdOf(offer.productName);
        if (id == cheapest.size())
            cheapest.push_back(i);
        else if (offer.price < products[cheapest[id]].price)
            cheapest[id] = i;
    }
    std::sort(cheapest.begin(), cheapest.end(), [&](size_t a, size_t b) {
        return ShiftJisLess(products[a].productName, products[b].productName);
    });
    std::vector<ProductRecord> set;
    set.reserve(cheapest.size());
    for (size_t i : cheapest) set.push_back(products[i]);
    SortProducts(set, key);
    return set;
}
