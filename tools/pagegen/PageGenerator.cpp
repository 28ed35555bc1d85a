#include "PageGenerator.h"

#include <algorithm>
#include <set>

#include "CompanyCatalog.h"
#include "LaterDay.h"
#include "PortalPlan.h"
#include "PortalRandom.h"
#include "ProductPlanner.h"
#include "shopdata/ShiftJisText.h"
#include "shopdata/TextConversion.h"

namespace {

int DrawCompanyId(PortalRandom& random, int highest) {
    // Old companies have short ids, so file names of every width occur.
    const int roll = random.Below(10);
    if (roll == 0) return random.Between(1, 99);
    if (roll < 7) return random.Between(100, 999);
    return random.Between(1000, highest);
}

// The first companies take the notable name heads in turn, so that even a small
// portal has names that trouble a careless reader.
std::string DrawCompanyName(PortalRandom& random, int serial, const std::set<std::string>& taken) {
    const auto heads = CompanyNameHeads();
    std::string name;
    for (int attempt = 0; name.empty() || taken.contains(name); ++attempt) {
        const std::string_view head = serial < kNotableHeadCount && attempt == 0
                                          ? heads[static_cast<size_t>(serial)]
                                          : random.Pick(heads);
        name = std::string(head) + std::string(random.Pick(CompanyNameTails()));
        if (attempt >= 20) name += FormatInt(serial + 1);
    }
    return name;
}

// Some players start the name with a blank, ASCII or full-width; the city page
// keeps it, the shop page's header loses the ASCII one.
std::string_view DrawLeadingBlank(PortalRandom& random, int serial) {
    if (serial == 2) return " ";
    if (serial == 6) return "　";
    const int roll = random.Below(100);
    return roll < 3 ? " " : roll < 5 ? "　" : "";
}

std::vector<CompanyPlan> PlanCompanies(PortalRandom& random, int count) {
    const int highestId = std::max(9999, count * 3);
    std::set<int> ids;
    std::set<std::string> names;
    std::vector<CompanyPlan> companies;
    for (int k = 0; k < count; ++k) {
        CompanyPlan company;
        do {
            company.id = DrawCompanyId(random, highestId);
        } while (!ids.insert(company.id).second);
        // The first thirteen companies give every city one.
        company.cityIndex = k < kCityCount ? k : random.Below(kCityCount);
        const std::string name = DrawCompanyName(random, k, names);
        names.insert(name);
        company.name = std::string(DrawLeadingBlank(random, k)) + name;
        company.leader = random.Pick(LeaderNames());
        company.members = random.Between(1, 40);
        company.rank = random.Between(1, 5);
        company.founded = random.Between(1480, 1560);
        company.emblem = random.Between(1, 240);
        companies.push_back(std::move(company));
    }
    return companies;
}

// The companies of each city in the order its page lists them.
std::array<std::vector<CompanyPlan>, kCityCount> ListByCity(PortalRandom& random,
                                                            std::vector<CompanyPlan> companies) {
    std::array<std::vector<CompanyPlan>, kCityCount> lists;
    for (CompanyPlan& company : companies)
        lists[static_cast<size_t>(company.cityIndex)].push_back(std::move(company));
    for (auto& list : lists)
        for (size_t i = list.size(); i > 1; --i)
            std::swap(list[i - 1], list[static_cast<size_t>(random.Below(static_cast<int>(i)))]);
    return lists;
}

int DrawProductCount(PortalRandom& random, int average) {
    if (average <= 0 || random.Percent(3)) return 0;  // a shop with nothing for sale
    return random.Between((average + 1) / 2, average + average / 2);
}

}  // namespace

GeneratedPortal GeneratePortal(std::uint64_t seed, int shopCount, int productsPerShop, int day) {
    PortalRandom random(seed);
    productsPerShop = std::clamp(productsPerShop, 0, kMaxProductsPerShop);
    const auto byCity =
        ListByCity(random, PlanCompanies(random, std::clamp(shopCount, 0, kMaxGeneratedShops)));
    ProductPlanner planner(random);
    GeneratedPortal portal;
    std::vector<ShopPlan> shops;
    for (int c = 0; c < kCityCount; ++c) {
        const auto& companies = byCity[static_cast<size_t>(c)];
        const std::string& cityName = CityTable()[c].name;
        portal.cityPagesUtf8[static_cast<size_t>(c)] = CityPageHtml(c, companies);
        for (const CompanyPlan& company : companies) {
            const std::string companyName = ToShiftJis(company.name);
            portal.cityCompanies[static_cast<size_t>(c)].push_back(
                {company.id, companyName, cityName});
            ShopPlan& shop = shops.emplace_back();
            shop.company = company;
            shop.indented = random.Percent(40);
            shop.products = planner.PlanShop(DrawProductCount(random, productsPerShop),
                                             std::string(TrimAsciiSpace(companyName)), cityName);
        }
    }
    for (int d = 1; d <= std::clamp(day, 0, kMaxGeneratedDay); ++d)
        portal.changes = AdvanceDay(shops, seed, d);
    for (const ShopPlan& plan : shops) {
        GeneratedShop& shop = portal.shops.emplace_back();
        shop.companyId = plan.company.id;
        shop.companyName = plan.company.name;
        shop.cityIndex = plan.company.cityIndex;
        shop.pageUtf8 = ShopPageHtml(plan.company, plan.products, plan.indented);
        for (const ProductPlan& product : plan.products) shop.truth.push_back(product.truth);
    }
    return portal;
}

std::vector<CompanyEntry> AllCompanies(const GeneratedPortal& portal) {
    std::vector<CompanyEntry> companies;
    for (const auto& listed : portal.cityCompanies)
        companies.insert(companies.end(), listed.begin(), listed.end());
    return companies;
}

std::vector<ProductRecord> AllProducts(const GeneratedPortal& portal) {
    std::vector<ProductRecord> products;
    for (const GeneratedShop& shop : portal.shops)
        products.insert(products.end(), shop.truth.begin(), shop.truth.end());
    return products;
}
