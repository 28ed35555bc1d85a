#pragma once
#include <span>
#include <string_view>

// Parts of the names the generated companies and their members get. Text is UTF-8.

// The distinctive first part of a company name. The first kNotableHeadCount have a
// circled number, a 髙, or a character whose second Shift-JIS byte is "\" or "|".
inline constexpr int kNotableHeadCount = 8;
std::span<const std::string_view> CompanyNameHeads();

// The closing part: "商会", "商店", ...
std::span<const std::string_view> CompanyNameTails();

// Names of the players who lead the companies.
std::span<const std::string_view> LeaderNames();
