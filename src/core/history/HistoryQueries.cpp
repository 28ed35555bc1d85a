#include <algorithm>
#include <array>
#include <unordered_map>

#include "history/IdKey.h"
#include "history/NameIds.h"
#include "history/PriceHistory.h"

namespace {

// Product, company and city ids.
using Place = IdKey<3>;
// Category id, stock, price, durability, attack, defense.
using Values = std::array<std::int64_t, 6>;

// An offer of the latest download as recorded, with its mark.
struct MarkedOffer {
    Values values{};
    OfferChange change = OfferChange::Unchanged;
    int previousPrice = -1;
    bool claimed = false;
};

using MarkedOffers = std::unordered_map<Place, std::vector<MarkedOffer>, IdKeyHash>;

// The ids of the latest two downloads; 0 where there is none.
struct LatestDownloads {
    std::int64_t latest = 0;
    std::int64_t previous = 0;
};

std::optional<LatestDownloads> ReadLatestDownloads(sqlite3* db) {
    SqliteStatement query(db, "SELECT id FROM download ORDER BY id DESC LIMIT 2");
    LatestDownloads downloads;
    if (query.Step()) downloads.latest = query.Integer(0);
    if (query.Step()) downloads.previous = query.Integer(0);
    if (query.Failed()) return std::nullopt;
    return downloads;
}

bool ReadMarkedOffers(sqlite3* db, std::int64_t latest, MarkedOffers& marked) {
    // An offer has earlier values until the latest download only when that download
    // changed it; the test of `changed` spares the look-up for all the others.
    SqliteStatement query(db, R"sql(
        SELECT o.product, o.company, o.city,
               o.category, o.stock, o.price, o.durability, o.attack, o.defense,
               o.appeared = ?1, e.price
        FROM offer o LEFT JOIN earlier_values e
            ON o.changed = ?1 AND e.offer = o.id AND e.until = ?1
        WHERE o.gone IS NULL)sql");
    query.Bind(1, latest);
    while (query.Step()) {
        MarkedOffer& offer =
            marked[{query.Integer(0), query.Integer(1), query.Integer(2)}].emplace_back();
        for (int i = 0; i < 6; ++i) offer.values[i] = query.Integer(i + 3);
        const int price = static_cast<int>(offer.values[2]);
        const int before = query.IsNull(10) ? price : static_cast<int>(query.Integer(10));
        if (query.Integer(9) != 0) {
            offer.change = OfferChange::New;
        } else if (before != price) {
            offer.change = price < before ? OfferChange::Cheaper : OfferChange::Dearer;
            offer.previousPrice = before;
        }
    }
    return !query.Failed();
}

// Where an offer passed in goes among the recorded ones.
struct Lookup {
    ProductRecord* offer;
    std::vector<MarkedOffer>* candidates;
    Values values;
};

// Gives each offer the marks of a recorded offer with the same product, company
// and city, preferring one whose values are all equal: the offers come in any
// order, so among a shop's duplicates only the values tell which is which.
void CopyMarks(const std::array<NameIds, 4>& names, MarkedOffers& marked,
               std::vector<ProductRecord>& offers) {
    const auto& [products, categories, companies, cities] = names;
    std::vector<Lookup> unmatched;
    for (ProductRecord& offer : offers) {
        const auto product = products.Find(offer.productName);
        const auto company = companies.Find(offer.companyName);
        const auto city = cities.Find(offer.cityName);
        if (!product || !company || !city) continue;
        const auto group = marked.find({*product, *company, *city});
        if (group == marked.end()) continue;
        const Values values{categories.Find(offer.category).value_or(0),
                            offer.stock,
                            offer.price,
                            offer.durability,
                            offer.attack,
                            offer.defense};
        unmatched.push_back({&offer, &group->second, values});
    }
    const auto claim = [](Lookup& lookup, MarkedOffer& recorded) {
        recorded.claimed = true;
        lookup.offer->change = recorded.change;
        lookup.offer->previousPrice = recorded.previousPrice;
        lookup.candidates = nullptr;
    };
    for (Lookup& lookup : unmatched)
        for (MarkedOffer& recorded : *lookup.candidates)
            if (!recorded.claimed && recorded.values == lookup.values) {
                claim(lookup, recorded);
                break;
            }
    for (Lookup& lookup : unmatched) {
        if (lookup.candidates == nullptr) continue;
        for (MarkedOffer& recorded : *lookup.candidates)
            if (!recorded.claimed) {
                claim(lookup, recorded);
                break;
            }
    }
}

void SetFailure(std::string* failureReason, sqlite3* db) {
    if (failureReason != nullptr) *failureReason = FailureText(db);
}

}  // namespace

bool PriceHistory::MarkChanges(std::vector<ProductRecord>& offers,
                               std::string* failureReason) const {
    sqlite3* db = m_db.get();
    for (ProductRecord& offer : offers) {
        offer.change = OfferChange::Unchanged;
        offer.previousPrice = -1;
    }
    const auto downloads = ReadLatestDownloads(db);
    if (!downloads) {
        SetFailure(failureReason, db);
        return false;
    }
    // A single download has nothing before it to compare with: all stay Unchanged.
    if (downloads->previous == 0) return true;
    const std::array<NameIds, 4> names{NameIds(db, "product_name"), NameIds(db, "category_name"),
                                       NameIds(db, "company_name"), NameIds(db, "city_name")};
    MarkedOffers marked;
    if (!std::all_of(names.begin(), names.end(), [](const NameIds& n) { return n.Loaded(); }) ||
        !ReadMarkedOffers(db, downloads->latest, marked)) {
        SetFailure(failureReason, db);
        return false;
    }
    CopyMarks(names, marked, offers);
    return true;
}

std::vector<ProductRecord> PriceHistory::GoneSincePrevious(std::string* failureReason) const {
    // An offer gone in the latest download was offered in the one before; with a
    // single download there is none.
    SqliteStatement query(m_db.get(), R"sql(
        SELECT p.name, g.name, o.stock, o.price, o.durability, o.attack, o.defense,
               c.name, t.name
        FROM offer o
        JOIN product_name p ON p.id = o.product
        JOIN category_name g ON g.id = o.category
        JOIN company_name c ON c.id = o.company
        JOIN city_name t ON t.id = o.city
        WHERE o.gone = (SELECT max(id) FROM download)
        ORDER BY o.id)sql");
    std::vector<ProductRecord> gone;
    while (query.Step()) {
        gone.push_back({query.Bytes(0), query.Bytes(1), static_cast<int>(query.Integer(2)),
                        static_cast<int>(query.Integer(3)), static_cast<int>(query.Integer(4)),
                        static_cast<int>(query.Integer(5)), static_cast<int>(query.Integer(6)),
                        query.Bytes(7), query.Bytes(8)});
    }
    if (!query.Failed()) return gone;
    SetFailure(failureReason, m_db.get());
    return {};
}
