#include "acquire/PagePaths.h"

#include <cstdio>

namespace {

std::string NumberedPageName(const char* format, int number) {
    // Room for the longest int, sign included, plus the fixed text.
    char buffer[32];
    const int length = std::snprintf(buffer, sizeof buffer, format, number);
    return std::string(buffer, static_cast<size_t>(length));
}

}  // namespace

std::string CityPageFileName(int cityId) {
    return NumberedPageName("CityNo%03d.html", cityId);
}

std::string ShopPageFileName(int companyId) {
    return NumberedPageName("ShopNo%03d.html", companyId);
}
