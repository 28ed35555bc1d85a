#pragma once
#include <string>
#include <string_view>

// The frame that every portal page shares: document head, global menu, the menu of
// cities, footer.

// The CityTable name of a city, in UTF-8.
std::string CityNameUtf8(int cityIndex);

// Everything up to the opening of the page's contents; `extraHead` goes at the end
// of the head element.
void AppendPageTop(std::string& html, std::string_view title, std::string_view extraHead);

// Closes what AppendPageTop opened.
void AppendPageBottom(std::string& html);
