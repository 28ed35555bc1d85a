#include "acquire/PagePaths.h"

#include <cstdio>

std::string ZeroFilledNumber(int number) {
    // Room for the longest int, sign included.
    char buffer[16];
    const int length = std::snprintf(buffer, sizeof buffer, "%03d", number);
    return std::string(buffer, static_cast<size_t>(length));
}

std::string CityPageFileName(int cityId) {
    return "CityNo" + ZeroFilledNumber(cityId) + ".html";
}

std::string ShopPageFileName(int companyId) {
    return "ShopNo" + ZeroFilledNumber(companyId) + ".html";
}
