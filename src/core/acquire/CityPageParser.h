#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "shopdata/CompanyEntry.h"

// Finds the company links on a saved city page of the portal.

// Appends one entry per company link in `sjisText`, each carrying `cityName`.
void ParseCityText(std::string_view sjisText, const std::string& cityName,
                   std::vector<CompanyEntry>& companies);

// Loads the UTF-8 page at `pagePath` and parses it as its Shift-JIS conversion
// would parse above, converting only the fields. Returns the number of entries
// `companies` then holds, from every city so far; 0 when the page cannot be read
// or is empty.
int ParseCityPage(const std::string& pagePath, const std::string& cityName,
                  std::vector<CompanyEntry>& companies);
