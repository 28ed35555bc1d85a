#pragma once
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "shopdata/ProductRecord.h"

// What parsing one saved shop page gave: its products and the detail text the
// parser reported, empty when it reported none (a report is never empty).
struct ParsedShopPage {
    std::vector<ProductRecord> products;
    std::string detail;
};

// Parses shop pages on every core while handing the results over strictly in the
// order of `paths`, so products come out in company order. Before each page in
// that order the cancel flag is checked; when it is set, the remaining pages are
// neither parsed nor handed over and the function returns false.
bool ParseShopPagesInOrder(const std::vector<std::string>& paths,
                           const std::atomic<bool>& cancelRequested,
                           const std::function<void(size_t index, ParsedShopPage& page)>& consume);
