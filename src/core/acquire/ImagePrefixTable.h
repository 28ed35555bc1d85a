#pragma once
#include <array>
#include <string>
#include <string_view>

// Item images on a shop page are named after the kind of item they show; a fragment
// of the image name tells the product's category.

inline constexpr int kImagePrefixCount = 21;

struct ImagePrefixRow {
    std::string prefix;    // ASCII fragment of the image name
    std::string category;  // Shift-JIS category name
};

const std::array<ImagePrefixRow, kImagePrefixCount>& ImagePrefixTable();

// Category of the first row whose prefix occurs anywhere in `imageReference`, or
// nullptr. Table order decides, not the longest match: "special_equipment_0..."
// contains "equipment_0" and so names body equipment.
const std::string* CategoryForImage(std::string_view imageReference);
