#pragma once
#include <string>
#include <string_view>

#include "shopdata/TextConversion.h"

// The tests write their texts in UTF-8; the program reads and keeps Shift-JIS.
inline std::string S(std::string_view utf8) {
    return ToShiftJis(utf8);
}
