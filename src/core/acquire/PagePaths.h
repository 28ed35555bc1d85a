#pragma once
#include <string>

// Where the download job keeps the pages it fetched, relative to the working
// directory, and the names of the saved pages.

inline constexpr char kDownloadFolder[] = "DownloadFiles";

// "%03d": an id as the page names and the download's detail line show it.
std::string ZeroFilledNumber(int number);

// "CityNo%03d.html": the company list of the city with this CityTable id.
std::string CityPageFileName(int cityId);

// "ShopNo%03d.html": the shop page of the company with this id.
std::string ShopPageFileName(int companyId);
