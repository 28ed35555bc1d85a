#include <gtest/gtest.h>

#include <algorithm>

#include "history/PriceHistory.h"
#include "support/ProductBuilders.h"
#include "support/TestFiles.h"

namespace {

using Downloads = std::vector<std::vector<ProductRecord>>;

std::string Time(size_t download) {
    return "2024/05/" + std::to_string(10 + download) + " 12:00:00";
}

PriceHistory Recorded(const TempFolder& folder, const Downloads& downloads) {
    HistoryOpening opening = PriceHistory::Open(folder.File("History.sqlite"));
    EXPECT_TRUE(opening.history) << opening.failureReason;
    for (size_t i = 0; opening.history && i < downloads.size(); ++i)
        EXPECT_TRUE(opening.history->Record(downloads[i], Time(i)));
    return std::move(opening.history.value());
}

ProductRecord Marked(ProductRecord offer, OfferChange change, int previousPrice = -1) {
    offer.change = change;
    offer.previousPrice = previousPrice;
    return offer;
}

const ProductRecord kWine = Offer("A", "ワイン", 100, "セビリア", 5);
const ProductRecord kSilk = Offer("A", "絹織物", 200, "セビリア", 3);
const ProductRecord kTea = Offer("B", "紅茶", 50, "ロンドン", 9);
const ProductRecord kSword = Offer("A", "剣", 300, "セビリア", 1);

ProductRecord Priced(ProductRecord offer, int price, int stock = -1) {
    offer.price = price;
    if (stock >= 0) offer.stock = stock;
    return offer;
}

struct MarkCase {
    const char* name;
    Downloads downloads;
    std::vector<ProductRecord> marked;  // the latest download's offers with their marks
    std::vector<ProductRecord> gone;
};

TEST(PriceHistoryTest, MarksTheLatestDownloadAgainstTheOneBefore) {
    const std::vector<MarkCase> cases = {
        {"a single download has nothing to compare with", {{kWine, kSilk}}, {kWine, kSilk}, {}},
        {"new, cheaper, dearer, unchanged and a stock-only change",
         {{kWine, kSilk, kTea},
          {Priced(kWine, 90), Priced(kSilk, 210), Priced(kTea, 50, 1), kSword}},
         {Marked(Priced(kWine, 90), OfferChange::Cheaper, 100),
          Marked(Priced(kSilk, 210), OfferChange::Dearer, 200), Priced(kTea, 50, 1),
          Marked(kSword, OfferChange::New)},
         {}},
        {"a shop listing one good twice keeps each apart",
         {{kSword, Priced(kSword, 320)}, {kSword, Priced(kSword, 330)}},
         {kSword, Marked(Priced(kSword, 330), OfferChange::Dearer, 320)},
         {}},
        {"one of two duplicates withdrawn",
         {{Priced(kSword, 320, 2), kSword}, {Priced(kSword, 320, 2)}},
         {Priced(kSword, 320, 2)},
         {kSword}},
        {"only the download just before counts, and a returning offer is new",
         {{kWine, kTea}, {Priced(kWine, 80)}, {Priced(kWine, 80), kTea}},
         {Priced(kWine, 80), Marked(kTea, OfferChange::New)},
         {}},
        {"gone offers keep the values they last had",
         {{kWine, kSilk}, {Priced(kWine, 90, 1), kSilk}, {kSilk}},
         {kSilk},
         {Priced(kWine, 90, 1)}},
        {"the same good in another city or shop is another offer",
         {{kWine},
          {Offer("A", "ワイン", 100, "ロンドン", 5), Offer("B", "ワイン", 100, "セビリア", 5)}},
         {Marked(Offer("A", "ワイン", 100, "ロンドン", 5), OfferChange::New),
          Marked(Offer("B", "ワイン", 100, "セビリア", 5), OfferChange::New)},
         {kWine}},
    };
    for (const MarkCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const PriceHistory history = Recorded(folder, c.downloads);
        // Offered in another order than recorded, as the sorted list would pass them.
        std::vector<ProductRecord> offers = c.downloads.back();
        std::reverse(offers.begin(), offers.end());
        ASSERT_TRUE(history.MarkChanges(offers));
        std::reverse(offers.begin(), offers.end());
        EXPECT_EQ(offers, c.marked);
        EXPECT_EQ(history.GoneSincePrevious(), c.gone);
    }
}

struct TrendCase {
    const char* name;
    CityFlags cities;
    std::string product;
    std::vector<HistoryPoint> expected;
};

TEST(PriceHistoryTest, ProductHistoryGivesOnePointPerDownloadOfferingIt) {
    const auto wine = [](const char* shop, int price, int stock, const char* city = "セビリア") {
        return Offer(shop, "ワイン", price, city, stock);
    };
    const Downloads downloads = {
        {wine("A", 100, 1), wine("B", 80, 2), wine("C", 120, 3), wine("D", 90, 4, "ロンドン"),
         kTea},
        {wine("A", 100, 1), wine("B", 70, 2), wine("D", 95, 4, "ロンドン")},
        {kTea},
        {wine("A", 110, 1), wine("A", 60, 7)},
    };
    const int seville = FindCityIndex(S("セビリア")), london = FindCityIndex(S("ロンドン"));
    CityFlags both{}, onlyLondon{};
    both[seville] = both[london] = onlyLondon[london] = true;
    const std::vector<TrendCase> cases = {
        {"lowest, lower middle for an even count, stock and count",
         both,
         "ワイン",
         {{Time(0), 80, 90, 10, 4}, {Time(1), 70, 95, 7, 3}, {Time(3), 60, 60, 8, 2}}},
        {"only the chosen cities",
         onlyLondon,
         "ワイン",
         {{Time(0), 90, 90, 4, 1}, {Time(1), 95, 95, 4, 1}}},
        {"no city chosen", CityFlags{}, "ワイン", {}},
        {"a name is matched whole", both, "ワイ", {}},
    };
    TempFolder folder;
    const PriceHistory history = Recorded(folder, downloads);
    for (const TrendCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(history.ProductHistory(S(c.product), c.cities), c.expected);
    }
}

}  // namespace
