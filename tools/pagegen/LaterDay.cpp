#include "LaterDay.h"

#include <algorithm>
#include <map>

#include "PortalRandom.h"
#include "ProductPlanner.h"
#include "shopdata/FixedTables.h"
#include "shopdata/ShiftJisText.h"
#include "shopdata/TextConversion.h"

namespace {

// Share of the offers sold once, in percent, that go, get cheaper, get dearer.
constexpr int kGonePercent = 3;
constexpr int kCheaperPercent = 10;
constexpr int kDearerPercent = 10;
// Shops that add offers on a day, in percent.
constexpr int kAddingShopPercent = 35;

// A day's draws apart from day 0's and from every other day's.
std::uint64_t DaySeed(std::uint64_t seed, int day) {
    PortalRandom mix(seed ^ (0xD1B54A32D192ED03ull * static_cast<std::uint64_t>(day)));
    return mix.Next();
}

int Repriced(PortalRandom& random, int price, bool cheaper) {
    const long long step = std::max(1LL, 1LL * price * random.Between(3, 30) / 100);
    const long long moved = cheaper ? price - step : price + step;
    return static_cast<int>(std::clamp(moved, 1LL, 99999999LL));
}

void MoveStock(PortalRandom& random, ProductPlan& product) {
    if (!random.Percent(30)) return;
    const int stock = product.stock;
    product.stock =
        random.Percent(10) ? 0 : std::max(0, stock + random.Between(-stock / 2, stock / 2 + 5));
    product.truth.stock = product.stock;
}

void AdvanceShop(PortalRandom& random, ProductPlanner& planner, ShopPlan& shop,
                 std::vector<GeneratedChange>& changes) {
    std::map<std::string, int> sold;
    for (const ProductPlan& product : shop.products) ++sold[product.truth.productName];
    auto change = [&](const ProductRecord& offer, ChangeKind kind, int oldPrice, int newPrice) {
        changes.push_back(
            {offer.productName, offer.companyName, offer.cityName, kind, oldPrice, newPrice});
    };
    std::vector<ProductPlan> kept;
    for (ProductPlan& product : shop.products) {
        const int roll = random.Below(100);
        MoveStock(random, product);
        const bool once = sold[product.truth.productName] == 1;
        if (once && roll < kGonePercent) {
            change(product.truth, ChangeKind::Gone, product.price, 0);
            continue;
        }
        const bool cheaper = roll < kGonePercent + kCheaperPercent;
        if (once && roll < kGonePercent + kCheaperPercent + kDearerPercent &&
            !(cheaper && product.price == 1)) {
            const int oldPrice = product.price;
            product.price = product.truth.price = Repriced(random, oldPrice, cheaper);
            change(product.truth, cheaper ? ChangeKind::Cheaper : ChangeKind::Dearer, oldPrice,
                   product.price);
        }
        kept.push_back(std::move(product));
    }
    shop.products = std::move(kept);

    if (!random.Percent(kAddingShopPercent)) return;
    const std::string companyName(TrimAsciiSpace(ToShiftJis(shop.company.name)));
    const std::string& cityName = CityTable()[shop.company.cityIndex].name;
    for (int added = random.Between(1, 3); added > 0; --added) {
        // A few draws for a product the shop does not sell; none left, none added.
        for (int attempt = 0; attempt < 8; ++attempt) {
            ProductPlan offer = planner.PlanOffer(companyName, cityName);
            if (sold.contains(offer.truth.productName)) continue;
            ++sold[offer.truth.productName];
            change(offer.truth, ChangeKind::New, 0, offer.price);
            shop.products.push_back(std::move(offer));
            break;
        }
    }
}

}  // namespace

std::vector<GeneratedChange> AdvanceDay(std::vector<ShopPlan>& shops, std::uint64_t seed, int day) {
    PortalRandom random(DaySeed(seed, day));
    ProductPlanner planner(random);
    std::vector<GeneratedChange> changes;
    for (ShopPlan& shop : shops) AdvanceShop(random, planner, shop, changes);
    return changes;
}

const char* ChangeKindName(ChangeKind kind) {
    switch (kind) {
        case ChangeKind::New:
            return "new";
        case ChangeKind::Cheaper:
            return "cheaper";
        case ChangeKind::Dearer:
            return "dearer";
        case ChangeKind::Gone:
            return "gone";
    }
    return "";
}
