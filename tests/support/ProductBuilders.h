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
    ProductRecord p;
    p.productName = S(name);
    p.category = S(category);
    p.stock = stock;
    p.price = price;
    p.companyName = S(tag);
    p.cityName = S(city);
    return p;
}

// Products drawn from small pools, so that every field repeats often and sorting
// and grouping have plenty of ties to settle. The names include texts that a
// plain byte comparison would order differently, the numbers the extremes.
inline std::vector<ProductRecord> RandomProducts(size_t count, unsigned seed) {
    const std::vector<std::string> names = {
        S("絹織物"), S("上質な絹織物"), S("ワイン"), S("アイテム"), S("剣"), S("剣 "), "abc", "ABC",
        "",
        "\xB1",   // half-width katakana, one byte above every lead byte of "あ"
        "x\x82",  // ends in a lone lead byte
        "x\x82\x40"};
    const std::vector<std::string> categories = {S("食料品"), S("砲種"), S("交易品"), S("家具")};
    const std::vector<std::string> companies = {S("東方交易商会"), S("北海商会"), "Rose"};
    std::vector<std::string> cities = {S("東京")};
    for (const auto& city : CityTable()) cities.push_back(city.name);
    const std::vector<int> prices = {0, 300, 500, 999, 1000, 1234567, -5, INT_MIN, INT_MAX};
    const std::vector<int> figures = {-1, 0, 1, 7, 1000};

    std::mt19937 random(seed);
    const auto pick = [&](const auto& pool) {
        return pool[std::uniform_int_distribution<size_t>(0, pool.size() - 1)(random)];
    };
    std::vector<ProductRecord> products(count);
    for (ProductRecord& p : products) {
        p.productName = pick(names);
        p.category = pick(categories);
        p.stock = pick(figures);
        p.price = pick(prices);
        p.durability = pick(figures);
        p.attack = pick(figures);
        p.defense = pick(figures);
        p.companyName = pick(companies);
        p.cityName = pick(cities);
    }
    return products;
}
