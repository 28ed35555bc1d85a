#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "LaterDay.h"
#include "shopdata/CompanyEntry.h"
#include "shopdata/FixedTables.h"
#include "shopdata/ProductRecord.h"

// A stand-in for the game portal: city and shop pages as the portal serves them
// (UTF-8 HTML), with what a correct reading of each page must give. Used for
// tests, benchmarks and the bundled sample working folder.

struct GeneratedShop {
    int companyId = 0;
    std::string companyName;  // UTF-8, as the city page shows it (leading blanks kept)
    int cityIndex = 0;        // CityTable index of the home town
    std::string pageUtf8;
    std::vector<ProductRecord> truth;  // Shift-JIS, in page order
};

struct GeneratedPortal {
    std::array<std::string, kCityCount> cityPagesUtf8;  // by CityTable index
    // The companies each city page lists, in page order (Shift-JIS).
    std::array<std::vector<CompanyEntry>, kCityCount> cityCompanies;
    // In the order the download job meets them: cities in CityTable order, each
    // city's companies in page order.
    std::vector<GeneratedShop> shops;
    // What changed since the day before, in shop order; empty on day 0.
    std::vector<GeneratedChange> changes;
};

inline constexpr int kMaxGeneratedShops = 100000;
inline constexpr int kMaxProductsPerShop = 10000;
inline constexpr int kMaxGeneratedDay = 3650;

// The same seed, counts and day always give the same bytes. Day N > 0 is the same
// world N days on: the same cities and companies, their offers moved on day by
// day (see AdvanceDay). With at least 13 shops
// every city lists a company; with at least 41 products in all, every image
// prefix and every trade sub-category occurs. The counts are clamped to
// [0, kMaxGeneratedShops] and [0, kMaxProductsPerShop], the day to
// [0, kMaxGeneratedDay].
GeneratedPortal GeneratePortal(std::uint64_t seed, int shopCount, int productsPerShop, int day = 0);

// What the download job must read from the whole portal: every company the city
// pages list and every product of the shops, each in the order the job meets them.
std::vector<CompanyEntry> AllCompanies(const GeneratedPortal& portal);
std::vector<ProductRecord> AllProducts(const GeneratedPortal& portal);

// Writes "CityNo%03d.html" per city id and "ShopNo%03d.html" per company id into
// `downloadFolder`, creating the folder (not its parents) when it is missing.
bool WritePortal(const GeneratedPortal& portal, const std::string& downloadFolder);

// The truth of every shop in `shops` order as UTF-8 tab-separated text: a header
// line with the field names, then one line per product with the nine
// ProductRecord fields in their order.
std::string TruthTable(const GeneratedPortal& portal);

// The changes since the day before as UTF-8 tab-separated text: a header line,
// then one line per change: product, company, city, the kind ("new", "cheaper",
// "dearer", "gone"), the old price and the new (empty where there is none).
std::string ChangesTable(const GeneratedPortal& portal);
