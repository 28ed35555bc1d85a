#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

// The fixed tables that every subsystem indexes by position. Names are Shift-JIS.

inline constexpr int kCityCount = 13;

// One flag per CityTable entry: set when the city's offers are shown.
using CityFlags = std::array<bool, kCityCount>;

inline constexpr int kColumnCount = 9;
inline constexpr int kCategoryGroupCount = 4;

struct CityInfo {
    std::string name;
    int id;  // the number of the city query and of the saved city page
};

struct CategoryGroupInfo {
    std::string label;  // a filter choice matching every member
    std::vector<std::string> members;
};

const std::array<CityInfo, kCityCount>& CityTable();
const std::array<CategoryGroupInfo, kCategoryGroupCount>& CategoryGroup();
const std::array<std::string, kColumnCount>& ColumnTitles();

// Index of the city with exactly this name, or -1.
int FindCityIndex(std::string_view cityName);

// The category box's choices: an empty entry, then each group label followed by
// its members.
std::vector<std::string> CategoryChoices();

// Column indices, which are also the sort columns and the cell indices of a row.
enum Column : int {
    kColumnProductName = 0,
    kColumnCategory = 1,
    kColumnStock = 2,
    kColumnPrice = 3,
    kColumnAttack = 4,
    kColumnDefense = 5,
    kColumnDurability = 6,
    kColumnCompanyName = 7,
    kColumnCityName = 8,
};
