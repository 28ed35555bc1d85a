#include <algorithm>
#include <unordered_set>

#include "history/PriceHistory.h"
#include "listview/FilterRules.h"

namespace {

struct Download {
    std::int64_t id = 0;
    std::string time;
};

// What the chosen cities offered of the product in one download.
struct Offered {
    std::vector<int> prices;
    std::int64_t stock = 0;
};

bool ReadDownloads(sqlite3* db, std::vector<Download>& downloads) {
    SqliteStatement query(db, "SELECT id, time FROM download ORDER BY id");
    while (query.Step()) downloads.push_back({query.Integer(0), query.Bytes(1)});
    return !query.Failed();
}

bool ReadChosenCities(sqlite3* db, const CityFlags& flags,
                      std::unordered_set<std::int64_t>& chosen) {
    SqliteStatement query(db, "SELECT id, name FROM city_name");
    while (query.Step())
        if (IsCityEnabled(query.Bytes(1), flags)) chosen.insert(query.Integer(0));
    return !query.Failed();
}

// The position of the download `id` in `downloads`; the end for 0 (not yet gone).
size_t PositionOf(const std::vector<Download>& downloads, std::int64_t id) {
    if (id == 0) return downloads.size();
    return std::lower_bound(downloads.begin(), downloads.end(), id,
                            [](const Download& d, std::int64_t wanted) { return d.id < wanted; }) -
           downloads.begin();
}

void Spread(std::vector<Offered>& offered, size_t from, size_t until, std::int64_t price,
            std::int64_t stock) {
    for (size_t i = from; i < until; ++i) {
        offered[i].prices.push_back(static_cast<int>(price));
        offered[i].stock += stock;
    }
}

// Spreads the values of every offer of the product in the chosen cities over the
// downloads it was offered in: earlier values hold from the offer's appearance or
// the previous change until their download, the offer's latest values from then
// until it is gone.
bool ReadOffered(sqlite3* db, std::int64_t product, const std::unordered_set<std::int64_t>& chosen,
                 const std::vector<Download>& downloads, std::vector<Offered>& offered) {
    SqliteStatement query(db, R"sql(
        SELECT o.id, o.city, o.appeared, o.gone, o.price, o.stock, e.until, e.price, e.stock
        FROM offer o LEFT JOIN earlier_values e ON e.offer = o.id
        WHERE o.product = ?1
        ORDER BY o.id, e.until)sql");
    query.Bind(1, product);
    bool more = query.Step();
    while (more) {
        const std::int64_t offer = query.Integer(0);
        const bool counted = chosen.contains(query.Integer(1));
        size_t from = PositionOf(downloads, query.Integer(2));
        const size_t end = PositionOf(downloads, query.IsNull(3) ? 0 : query.Integer(3));
        const std::int64_t price = query.Integer(4);
        const std::int64_t stock = query.Integer(5);
        for (; more && query.Integer(0) == offer; more = query.Step()) {
            if (query.IsNull(6) || !counted) continue;
            const size_t until = PositionOf(downloads, query.Integer(6));
            Spread(offered, from, until, query.Integer(7), query.Integer(8));
            from = until;
        }
        if (counted) Spread(offered, from, end, price, stock);
    }
    return !query.Failed();
}

}  // namespace

std::vector<HistoryPoint> PriceHistory::ProductHistory(std::string_view productName,
                                                       const CityFlags& cities,
                                                       std::string* failureReason) const {
    sqlite3* db = m_db.get();
    const auto failed = [&] {
        if (failureReason != nullptr) *failureReason = FailureText(db);
        return std::vector<HistoryPoint>();
    };
    SqliteStatement findProduct(db, "SELECT id FROM product_name WHERE name = ?1");
    findProduct.BindBytes(1, productName);
    if (!findProduct.Step()) return findProduct.Failed() ? failed() : std::vector<HistoryPoint>();
    const std::int64_t product = findProduct.Integer(0);
    std::vector<Download> downloads;
    std::unordered_set<std::int64_t> chosen;
    if (!ReadDownloads(db, downloads) || !ReadChosenCities(db, cities, chosen)) return failed();
    std::vector<Offered> offered(downloads.size());
    if (!ReadOffered(db, product, chosen, downloads, offered)) return failed();

    std::vector<HistoryPoint> points;
    for (size_t i = 0; i < offered.size(); ++i) {
        std::vector<int>& prices = offered[i].prices;
        if (prices.empty()) continue;
        // For an even count the lower of the two middle prices: a price someone
        // actually asks, not an average of two.
        const auto middle = prices.begin() + (prices.size() - 1) / 2;
        std::nth_element(prices.begin(), middle, prices.end());
        const int median = *middle;
        const int lowest = *std::min_element(prices.begin(), middle + 1);
        points.push_back(
            {downloads[i].time, lowest, median, offered[i].stock, static_cast<int>(prices.size())});
    }
    return points;
}
