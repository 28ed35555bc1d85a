#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "acquire/ShopPageParser.h"
#include "shopdata/ProductRecord.h"
#include "shopdata/TextConversion.h"

// What the shop page parser made of one page, with its reports as UTF-8.
struct ShopResult {
    bool ok = false;
    std::vector<ProductRecord> products;
    std::vector<std::string> reports;  // UTF-8
};

inline ShopResult ParseShop(std::string_view sjisText) {
    ShopResult result;
    result.ok = ParseShopText(sjisText, result.products, [&](const std::string& text) {
        result.reports.push_back(ShiftJisToUtf8(text));
    });
    return result;
}

inline ShopResult ParseShopFile(const std::string& path) {
    ShopResult result;
    result.ok = ParseShopPage(path, result.products, [&](const std::string& text) {
        result.reports.push_back(ShiftJisToUtf8(text));
    });
    return result;
}
