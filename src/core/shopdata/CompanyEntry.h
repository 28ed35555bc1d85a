#pragma once
#include <string>

// One company link found on a city page.
struct CompanyEntry {
    int companyId = 0;
    std::string companyName;
    std::string cityName;  // the CityTable name of the page that listed it

    bool operator==(const CompanyEntry&) const = default;
};
