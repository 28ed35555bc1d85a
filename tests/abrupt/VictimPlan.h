#pragma once
#include <string>

#include "config/ConfigStore.h"
#include "shopdata/TextConversion.h"

// What the victim program (VictimMain.cpp) and the tests that kill it agree on.
namespace victim {

// The victim announces its first completed write with this byte on its standard output.
inline constexpr char kFirstWriteDone = 'W';

// The shop pages it fetches in turn: one large enough that a kill often lands in
// the middle of its body, one small.
inline constexpr int kLargeShop = 1;
inline constexpr int kSmallShop = 2;
inline constexpr int kLargeShopMebibytes = 2;

// The two settings it saves in turn. The first, with a search history of about
// 300 KB, takes long enough to write that a kill often lands in the middle.
inline ConfigStore LargeSettings() {
    ConfigStore settings;
    settings.portalId = "large";
    settings.lastUpdate = "2024/01/01 00:00:00";
    settings.sortColumn = 3;
    const std::string word = ToShiftJis("検索語");
    for (int i = 0; i < 9000; ++i) settings.searchHistory.push_back(word + std::to_string(i));
    return settings;
}

inline ConfigStore SmallSettings() {
    ConfigStore settings;
    settings.portalId = "small";
    settings.proxyEnabled = 1;
    settings.proxyServer = "proxy.example";
    settings.lastUpdate = "2025/12/31 23:59:59";
    settings.cityEnabled.fill(0);
    settings.searchHistory = {ToShiftJis("剣")};
    return settings;
}

}  // namespace victim
