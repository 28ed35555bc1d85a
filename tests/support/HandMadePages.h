#pragma once
#include <string>
#include <utility>
#include <vector>

// Small portal pages (UTF-8) carrying the markers the parsers scan for.

inline std::string CityPage(const std::vector<std::pair<int, std::string>>& companies) {
    std::string page = "<html><body><table>";
    for (const auto& [id, name] : companies)
        page += "<tr><td><a href=\"javascript:Click_Sub( " + std::to_string(id) + " );\">" + name +
                "</a></td></tr>";
    return page + "</table></body></html>";
}

// Every product is a food trade good with 5 in stock, at the given price.
inline std::string ShopPage(const std::string& company, const std::string& city,
                            const std::vector<std::pair<std::string, int>>& products) {
    std::string page =
        "<html><body><p>商会名：" + company + "</p><p>拠点街：" + city + "</p><table>";
    for (const auto& [name, price] : products)
        page += "<tr><td><img src=\"./img/itemcg/trade_01.png\" ><div style=\"clear:right;\">" +
                name +
                "</div><span>分類：食料品</span></td><td class=\"chara_rlin\">5</td>"
                "<td class=\"chara_rlin\">" +
                std::to_string(price) + "</td></tr>";
    return page + "</table></body></html>";
}
