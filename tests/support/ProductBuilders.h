#pragma once
#include <climits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "shopdata/FixedTables.h"
#include "shopdata/ProductRecord.h"
#include "support/ShiftJisLiteral.h"

// One offer, texts in UTF-8. The company name tags it, so that the tests can say
// plainly which offers a list shows.
inline ProductRecord Offer(std::string_view tag, std::string_view name, int price,
                           std::string_view city = "セビリア", int stock = 0,
                           std::string_view category = "食料品") {
    return {S(name), S(category), stock, price, -1, -1, -1, S(tag), S(city)};
}

// Products drawn from small pools, so that sorts have plenty of ties to settle:
// names a plain byte comparison would order differently, the extreme numbers,
// unknown and known cities.
inline std::vector<ProductRecord> RandomProducts(size_t count, unsigned seed) {
    // Half-width katakana, a lone lead byte and a name with its trail byte.
    const std::vector<std::string> names = {S("絹織物"), S("上質な絹織物"),
                                            S("ワイン"), S("アイテム"),
                                            S("剣"),     S("剣 "),
                                            "abc",       "ABC",
                                            "",          "\xB1",
                                            "x\x82",     "x\x82\x40"};
    const std::vector<std::string> texts = {S("食料品"), S("砲種"), S("北海商会"), "Rose"};
    std::vector<std::string> cities = {S("東京")};
    for (const auto& city : CityTable()) cities.push_back(city.name);
    const std::vector<int> numbers = {-1, 0, 1, 7, 999, 1000, 1234567, INT_MIN, INT_MAX};
    std::mt19937 random(seed);
    const auto pick = [&](const auto& pool) {
        return pool[std::uniform_int_distribution<size_t>(0, pool.size() - 1)(random)];
    };
    std::vector<ProductRecord> products(count);
    for (ProductRecord& p : products)
        p = {pick(names),   pick(texts),   pick(numbers), pick(numbers), pick(numbers),
             pick(numbers), pick(numbers), pick(texts),   pick(cities)};
    return products;
}
