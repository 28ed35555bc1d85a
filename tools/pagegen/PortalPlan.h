#pragma once
#include <span>
#include <string>
#include <vector>

#include "shopdata/ProductRecord.h"

// The decisions behind one generated portal, shared by the planners and the page
// writers. Text is UTF-8 unless noted.

struct CompanyPlan {
    int id = 0;
    std::string name;  // as the pages show it, leading blanks included
    int cityIndex = 0;
    std::string leader;
    int members = 0;
    int rank = 0;
    int founded = 0;
    int emblem = 0;
};

struct ProductPlan {
    std::string image;     // the item image's name without ".png"
    std::string nameCell;  // the text of the product name cell, padding and sex mark included
    std::vector<std::string> specLines;
    std::string description;
    int stock = 0;
    int price = 0;
    ProductRecord truth;  // Shift-JIS
};

// One company's shop on one day.
struct ShopPlan {
    CompanyPlan company;
    bool indented = false;  // the page's layout, kept from day to day
    std::vector<ProductPlan> products;
};

// Whole pages as the portal serves them.
std::string CityPageHtml(int cityIndex, std::span<const CompanyPlan> companies);
// `indented` lays the cells out over several lines, as some server templates do.
std::string ShopPageHtml(const CompanyPlan& company, std::span<const ProductPlan> products,
                         bool indented);
