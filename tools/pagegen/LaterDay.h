#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "PortalPlan.h"

enum class ChangeKind { New, Cheaper, Dearer, Gone };

// One offer that changed from one day to the next. Text is Shift-JIS, the names
// as a parse of the shop page gives them.
struct GeneratedChange {
    std::string productName;
    std::string companyName;
    std::string cityName;
    ChangeKind kind = ChangeKind::New;
    int oldPrice = 0;  // 0 for a new offer
    int newPrice = 0;  // 0 for a gone one
};

// Moves every shop from day `day` - 1 to `day`, deterministically from (seed,
// day): some offers repriced, some gone, some new ones, stock moving. Only an
// offer whose product the shop sells once changes its price or goes, and a new
// offer is of a product the shop does not sell yet, so that a change is told by
// (product, company, city) alone. Returns the changes in shop order.
std::vector<GeneratedChange> AdvanceDay(std::vector<ShopPlan>& shops, std::uint64_t seed, int day);

// The text the changes table gives a kind: "new", "cheaper", "dearer", "gone".
const char* ChangeKindName(ChangeKind kind);
