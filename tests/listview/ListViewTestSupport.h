#pragma once
#include "listview/FilterRules.h"

// Every city shown, as the settings have it by default.
inline CityFlags AllCities() {
    CityFlags flags;
    flags.fill(1);
    return flags;
}
