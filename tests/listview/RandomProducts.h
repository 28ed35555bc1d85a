#pragma once
#include <random>
#include <string>
#include <vector>

#include "shopdata/FixedTables.h"
#include "shopdata/ProductRecord.h"
#include "shopdata/TextConversion.h"

// Products drawn from small pools, so that every field repeats often and sorting
// and grouping have plenty of ties to settle. The names include texts that a
// plain byte comparison would order differently.
inline std::vector<ProductRecord> RandomProducts(size_t count, unsigned seed) {
    const std::vector<std::string> names = {
        ToShiftJis("絹織物"),
        ToShiftJis("上質な絹織物"),
        ToShiftJis("ワイン"),
        ToShiftJis("アイテム"),
        ToShiftJis("剣"),
        ToShiftJis("剣 "),
        "abc",
        "ABC",
        "",
        "\xB1",   // half-width katakana, one byte above every lead byte of "あ"
        "x\x82",  // ends in a lone lead byte
        "x\x82\x40"};
    const std::vector<std::string> categories = {ToShiftJis("食料品"), ToShiftJis("砲種"),
                                                 ToShiftJis("交易品"), ToShiftJis("家具")};
    const std::vector<std::string> companies = {ToShiftJis("東方交易商会"), ToShiftJis("北海商会"),
                                                "Rose"};
    std::vector<std::string> cities = {ToShiftJis("東京")};
    for (const auto& city : CityTable()) cities.push_back(city.name);
    const int prices[] = {0, 300, 500, 999, 1000, 1234567, -5};
    const int figures[] = {-1, 0, 1, 7, 1000};

    std::mt19937 random(seed);
    const auto pick = [&](const auto& pool) {
        return pool[std::uniform_int_distribution<size_t>(0, std::size(pool) - 1)(random)];
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
