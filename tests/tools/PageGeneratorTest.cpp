#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "PageGenerator.h"
#include "acquire/CityPageParser.h"
#include "acquire/ImagePrefixTable.h"
#include "acquire/PagePaths.h"
#include "acquire/ShopPageParser.h"
#include "platform/Files.h"
#include "shopdata/ShiftJisText.h"
#include "shopdata/TextConversion.h"
#include "support/ShiftJisLiteral.h"
#include "support/TestFiles.h"

namespace {

// The seed and size of the bundled sample (scripts/make-sample.sh).
const GeneratedPortal& SamplePortal() {
    static const GeneratedPortal portal = GeneratePortal(20240601, 40, 30);
    return portal;
}

TEST(PageGenerator, SameSeedGivesSameBytes) {
    const GeneratedPortal first = GeneratePortal(99, 20, 12);
    const GeneratedPortal second = GeneratePortal(99, 20, 12);
    EXPECT_EQ(first.cityPagesUtf8, second.cityPagesUtf8);
    ASSERT_EQ(first.shops.size(), second.shops.size());
    for (size_t i = 0; i < first.shops.size(); ++i)
        EXPECT_EQ(first.shops[i].pageUtf8, second.shops[i].pageUtf8) << "shop " << i;
    EXPECT_EQ(TruthTable(first), TruthTable(second));

    const GeneratedPortal other = GeneratePortal(100, 20, 12);
    EXPECT_NE(TruthTable(first), TruthTable(other));
}

TEST(PageGenerator, EveryCityListsCompaniesAndEveryShopIsListedOnce) {
    for (int shopCount : {13, 40}) {
        const GeneratedPortal portal = GeneratePortal(7, shopCount, 5);
        std::multiset<int> listed;
        for (int c = 0; c < kCityCount; ++c) {
            const auto& companies = portal.cityCompanies[static_cast<size_t>(c)];
            EXPECT_FALSE(companies.empty()) << shopCount << " shops, city " << c;
            for (const CompanyEntry& entry : companies) {
                EXPECT_EQ(entry.cityName, CityTable()[c].name);
                listed.insert(entry.companyId);
            }
        }
        std::multiset<int> shops;
        for (const GeneratedShop& shop : portal.shops) shops.insert(shop.companyId);
        EXPECT_EQ(listed, shops);
        EXPECT_EQ(std::set<int>(shops.begin(), shops.end()).size(), shops.size());
    }
}

TEST(PageGenerator, EveryImagePrefixAndEveryCategoryOccurs) {
    // 41 products in all suffice; 13 shops of at least 4 products give more.
    const GeneratedPortal portal = GeneratePortal(3, 13, 8);
    for (const ImagePrefixRow& row : ImagePrefixTable()) {
        const std::string reference = "<img src=\"./img/itemcg/" + row.prefix;
        bool found = false;
        for (const GeneratedShop& shop : portal.shops)
            found = found || shop.pageUtf8.find(reference) != std::string::npos;
        EXPECT_TRUE(found) << row.prefix;
    }
    std::set<std::string> categories;
    for (const ProductRecord& record : AllProducts(portal)) categories.insert(record.category);
    for (const CategoryGroupInfo& group : CategoryGroup())
        for (const std::string& member : group.members)
            EXPECT_TRUE(categories.contains(member)) << ShiftJisToUtf8(member);
}

TEST(PageGenerator, PagesExerciseTheParsingRules) {
    const GeneratedPortal& portal = SamplePortal();
    bool sexMark = false, indentedCell = false, penetration = false;
    for (const GeneratedShop& shop : portal.shops) {
        const std::string& page = shop.pageUtf8;
        sexMark =
            sexMark || page.find("♂") != std::string::npos || page.find("♀") != std::string::npos;
        indentedCell = indentedCell || page.find("clear:right;\">\n") != std::string::npos;
        penetration = penetration || page.find("貫通力：") != std::string::npos;
    }
    EXPECT_TRUE(sexMark);
    EXPECT_TRUE(indentedCell);
    EXPECT_TRUE(penetration);

    bool blankLed = false, fullWidthLed = false, circledOrRare = false, troublesomeByte = false;
    for (const GeneratedShop& shop : portal.shops) {
        blankLed = blankLed || shop.companyName.starts_with(" ");
        fullWidthLed = fullWidthLed || shop.companyName.starts_with("　");
        circledOrRare = circledOrRare || shop.companyName.find("①") != std::string::npos ||
                        shop.companyName.find("髙") != std::string::npos;
        const std::string name = S(shop.companyName);
        // ソ and ポ end in the bytes of "\" and "|".
        troublesomeByte = troublesomeByte || name.find(S("ソ")) != std::string::npos ||
                          name.find(S("ポ")) != std::string::npos;
    }
    bool genericTrade = false, priceOne = false;
    for (const ProductRecord& record : AllProducts(portal)) {
        genericTrade = genericTrade || record.category == S("交易品");
        priceOne = priceOne || record.price == 1;
    }
    EXPECT_TRUE(blankLed);
    EXPECT_TRUE(fullWidthLed);
    EXPECT_TRUE(circledOrRare);
    EXPECT_TRUE(troublesomeByte);
    EXPECT_TRUE(genericTrade);
    EXPECT_TRUE(priceOne);
}

TEST(PageGenerator, ParsingTheGeneratedPagesGivesTheTruth) {
    const GeneratedPortal& portal = SamplePortal();
    for (int c = 0; c < kCityCount; ++c) {
        std::string text;
        ASSERT_TRUE(Utf8ToShiftJis(portal.cityPagesUtf8[static_cast<size_t>(c)], text));
        std::vector<CompanyEntry> companies;
        ParseCityText(text, CityTable()[c].name, companies);
        EXPECT_EQ(companies, portal.cityCompanies[static_cast<size_t>(c)]) << "city " << c;
    }
    for (const GeneratedShop& shop : portal.shops) {
        std::string text;
        ASSERT_TRUE(Utf8ToShiftJis(shop.pageUtf8, text));
        std::vector<ProductRecord> products;
        std::string detail;
        EXPECT_TRUE(
            ParseShopText(text, products, [&detail](const std::string& line) { detail = line; }));
        EXPECT_EQ(detail, CityTable()[shop.cityIndex].name + " : " +
                              std::string(TrimAsciiSpace(S(shop.companyName))));
        ASSERT_EQ(products.size(), shop.truth.size()) << "shop " << shop.companyId;
        for (size_t i = 0; i < products.size(); ++i)
            EXPECT_EQ(products[i], shop.truth[i])
                << "shop " << shop.companyId << " row " << i << ": "
                << ShiftJisToUtf8(products[i].productName) << " / "
                << ShiftJisToUtf8(shop.truth[i].productName);
    }
}

TEST(PageGenerator, WrittenFolderParsesLikeADownload) {
    const GeneratedPortal portal = GeneratePortal(11, 15, 6);
    // A folder not there yet, which WritePortal has to make.
    const TempFolder parent;
    const std::filesystem::path folder = parent.Path() / "DownloadFiles";
    ASSERT_TRUE(WritePortal(portal, folder.string()));

    // The download job's order: cities in table order, then every listed shop.
    std::vector<CompanyEntry> companies;
    for (const CityInfo& city : CityTable())
        ParseCityPage(platform::JoinPath(folder.string(), CityPageFileName(city.id)), city.name,
                      companies);
    EXPECT_EQ(companies, AllCompanies(portal));

    std::vector<ProductRecord> products;
    for (const CompanyEntry& company : companies)
        ParseShopPage(platform::JoinPath(folder.string(), ShopPageFileName(company.companyId)),
                      products, {});
    EXPECT_EQ(products, AllProducts(portal));
}

TEST(PageGenerator, TruthTableHasAHeaderAndOneLinePerProduct) {
    const GeneratedPortal portal = GeneratePortal(5, 3, 4);
    const std::string table = TruthTable(portal);
    const size_t lines = static_cast<size_t>(std::count(table.begin(), table.end(), '\n'));
    EXPECT_EQ(lines, AllProducts(portal).size() + 1);
    EXPECT_TRUE(table.starts_with("productName\tcategory\tstock\tprice\t"));
    const ProductRecord& first = portal.shops.front().truth.front();
    const std::string firstLine = table.substr(table.find('\n') + 1);
    EXPECT_TRUE(firstLine.starts_with(ShiftJisToUtf8(first.productName) + "\t" +
                                      ShiftJisToUtf8(first.category) + "\t" +
                                      FormatInt(first.stock) + "\t"));
}

TEST(PageGenerator, EmptyCountsStillGiveWellFormedPages) {
    const GeneratedPortal noShops = GeneratePortal(1, 0, 30);
    EXPECT_TRUE(noShops.shops.empty());
    for (const std::string& page : noShops.cityPagesUtf8) {
        std::vector<CompanyEntry> companies;
        ParseCityText(S(page), "", companies);
        EXPECT_TRUE(companies.empty());
    }
    const GeneratedPortal noProducts = GeneratePortal(1, 4, 0);
    for (const GeneratedShop& shop : noProducts.shops) {
        std::vector<ProductRecord> products;
        EXPECT_TRUE(ParseShopText(S(shop.pageUtf8), products, {}));
        EXPECT_TRUE(products.empty());
    }
}

}  // namespace
