#include "ProductPlanner.h"

#include "shopdata/FixedTables.h"
#include "shopdata/ShiftJisText.h"
#include "shopdata/TextConversion.h"

namespace {

constexpr std::string_view kTradeGoods = "交易品";
constexpr std::string_view kPetSuffix = "の権利書";

int GroupOf(const ItemKind& kind) {
    const std::string category = ToShiftJis(kind.category);
    const auto& groups = CategoryGroup();
    for (int g = 0; g < kCategoryGroupCount; ++g)
        for (const std::string& member : groups[g].members)
            if (member == category) return g;
    return 0;
}

// CategoryGroup index of each item kind's category.
const std::vector<int>& KindGroups() {
    static const std::vector<int> groups = [] {
        std::vector<int> list;
        for (const ItemKind& kind : ItemKinds()) list.push_back(GroupOf(kind));
        return list;
    }();
    return groups;
}

std::string ZeroFilled(int number) {
    std::string text = FormatInt(number);
    return std::string(text.size() < 3 ? 3 - text.size() : 0, '0') + text;
}

}  // namespace

std::vector<ProductPlan> ProductPlanner::PlanShop(int count, const std::string& companyName,
                                                  const std::string& cityName) {
    const int specialty = m_random.Below(kCategoryGroupCount);
    std::vector<ProductPlan> products;
    for (int i = 0; i < count; ++i) {
        // Products that complete the set of kinds always name their sub-category.
        const bool covering = m_nextUncovered < ItemKinds().size();
        ProductPlan product = PlanProduct(NextKind(specialty), !covering);
        product.truth.companyName = companyName;
        product.truth.cityName = cityName;
        products.push_back(std::move(product));
    }
    return products;
}

ProductPlan ProductPlanner::PlanOffer(const std::string& companyName, const std::string& cityName) {
    ProductPlan product = PlanProduct(m_random.Pick(ItemKinds()), true);
    product.truth.companyName = companyName;
    product.truth.cityName = cityName;
    return product;
}

const ItemKind& ProductPlanner::NextKind(int specialty) {
    const auto kinds = ItemKinds();
    if (m_nextUncovered < kinds.size()) return kinds[m_nextUncovered++];
    for (;;) {
        const int k = m_random.Below(static_cast<int>(kinds.size()));
        if (KindGroups()[static_cast<size_t>(k)] == specialty || m_random.Percent(25))
            return kinds[static_cast<size_t>(k)];
    }
}

ProductPlan ProductPlanner::PlanProduct(const ItemKind& kind, bool mayOmitSubCategory) {
    ProductPlan product;
    ProductRecord& truth = product.truth;
    const int nameIndex = m_random.Below(static_cast<int>(kind.names.size()));
    const std::string name(kind.names[static_cast<size_t>(nameIndex)]);
    product.image = std::string(kind.imagePrefix) + ZeroFilled(kind.imageBase + nameIndex);
    truth.productName = ToShiftJis(name);

    // The shop's own spelling of the name: the parser drops the sex marks and the
    // blanks they leave at either end.
    product.nameCell = name;
    if (kind.sexMarked) {
        const std::string mark = m_random.Percent(50) ? "♂" : "♀";
        const size_t suffix = name.rfind(kPetSuffix);
        switch (m_random.Below(3)) {
            case 0:
                product.nameCell += mark;
                break;
            case 1:
                product.nameCell += " " + mark;
                break;
            default:
                if (suffix != std::string::npos)
                    product.nameCell.insert(suffix, mark);
                else
                    product.nameCell += mark;
        }
    }
    if (m_random.Percent(4)) product.nameCell.insert(0, " ");
    if (m_random.Percent(4)) product.nameCell += " ";

    // A trade good's sub-category comes from its "分類：" line; other items carry
    // one too, which the category from the image outranks.
    if (!kind.tradeGood || !mayOmitSubCategory || m_random.Percent(96)) {
        product.specLines.push_back("分類：" + std::string(kind.category));
        truth.category = ToShiftJis(kind.category);
    } else {
        truth.category = ToShiftJis(kTradeGoods);
    }
    const auto draw = [this](FigureRange range) { return m_random.Between(range.low, range.high); };
    if (kind.attack.Shown()) {
        truth.attack = draw(kind.attack);
        product.specLines.push_back("攻撃力：" + FormatInt(truth.attack));
    }
    if (kind.penetration.Shown()) {
        // Stored in place of the attack.
        truth.attack = draw(kind.penetration);
        product.specLines.push_back("貫通力：" + FormatInt(truth.attack));
    }
    if (kind.defense.Shown()) {
        truth.defense = draw(kind.defense);
        product.specLines.push_back("防御力：" + FormatInt(truth.defense));
    }
    if (kind.durability.Shown()) {
        const int maximum = draw(kind.durability);
        // Worn goods show what is left of the maximum; only the first number counts.
        truth.durability = m_random.Percent(50) ? maximum : m_random.Between(1, maximum);
        std::string line = "耐久度：" + FormatInt(truth.durability);
        if (truth.durability != maximum || m_random.Percent(50)) line += "/" + FormatInt(maximum);
        product.specLines.push_back(line);
    }
    if (!kind.note.empty()) product.specLines.emplace_back(kind.note);
    product.description = m_random.Pick(DescriptionLines());

    truth.stock = m_random.Percent(8) ? 0 : m_random.LogBetween(1, kind.highStock);
    truth.price = m_random.Percent(1) ? 1 : m_random.LogBetween(kind.lowPrice, kind.highPrice);
    product.stock = truth.stock;
    product.price = truth.price;
    return product;
}
