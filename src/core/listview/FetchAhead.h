#pragma once
#include <cstddef>
#include <vector>

#include "shopdata/ProductRecord.h"

// Once the table has been sorted, its records no longer lie next to their names,
// so a pass through it asks for the name of a record a few places ahead.
inline void FetchNameAhead(const std::vector<ProductRecord>& products, std::size_t i) {
    constexpr std::size_t kAhead = 8;
    if (i + kAhead < products.size()) __builtin_prefetch(products[i + kAhead].productName.data());
}
