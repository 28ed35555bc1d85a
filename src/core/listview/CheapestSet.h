#pragma once
#include <vector>

#include "listview/ProductSort.h"
#include "shopdata/FixedTables.h"
#include "shopdata/ProductRecord.h"

// The cheapest offer of each product among the enabled cities (the first one in
// `products` order when several are equally cheap), ordered by `key` and, where
// the key ties, by product name.
std::vector<ProductRecord> BuildCheapestSet(const std::vector<ProductRecord>& products,
                                            const CityFlags& flags, SortKey key);
