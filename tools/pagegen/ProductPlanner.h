#pragma once
#include <string>
#include <vector>

#include "ItemCatalog.h"
#include "PortalPlan.h"
#include "PortalRandom.h"

// Chooses what the shops sell. Until every item kind has been offered once, the
// next product is the next such kind, so that small portals still show every
// category; after that each shop mostly keeps to its own line of trade.
class ProductPlanner {
public:
    explicit ProductPlanner(PortalRandom& random) : m_random(random) {}

    // `companyName` and `cityName` are the Shift-JIS texts the shop page's header
    // gives once read.
    std::vector<ProductPlan> PlanShop(int count, const std::string& companyName,
                                      const std::string& cityName);

    // An offer of any kind, as a shop adds on a later day.
    ProductPlan PlanOffer(const std::string& companyName, const std::string& cityName);

private:
    const ItemKind& NextKind(int specialty);
    ProductPlan PlanProduct(const ItemKind& kind, bool mayOmitSubCategory);

    PortalRandom& m_random;
    size_t m_nextUncovered = 0;
};
