#include <array>
#include <unordered_map>

#include "history/IdKey.h"
#include "history/NameIds.h"
#include "history/PriceHistory.h"

namespace {

// Product, company and city ids, then the occurrence among the download's offers
// with the same three.
using OfferKey = IdKey<4>;

// What a download says of an offer besides its key.
struct OfferValues {
    std::array<std::int64_t, 4> details{};  // category id, durability, attack, defense
    std::int64_t price = 0;
    std::int64_t stock = 0;
};

// An offer still offered in the latest download.
struct LiveOffer {
    std::int64_t id = 0;
    OfferValues values;
    bool seen = false;
};

using LiveOffers = std::unordered_map<OfferKey, LiveOffer, IdKeyHash>;

bool LoadLiveOffers(sqlite3* db, LiveOffers& live) {
    SqliteStatement query(db, R"sql(
        SELECT id, product, company, city, occurrence,
               category, durability, attack, defense, price, stock
        FROM offer WHERE gone IS NULL)sql");
    while (query.Step()) {
        const OfferKey key{query.Integer(1), query.Integer(2), query.Integer(3), query.Integer(4)};
        live[key] = {query.Integer(0),
                     {{query.Integer(5), query.Integer(6), query.Integer(7), query.Integer(8)},
                      query.Integer(9),
                      query.Integer(10)}};
    }
    return !query.Failed();
}

// The statements of one recording, prepared once for all its offers.
class DownloadWriter {
public:
    explicit DownloadWriter(sqlite3* db) : m_db(db) {}

    bool Begin(std::string_view time) {
        SqliteStatement insert(m_db, "INSERT INTO download (time) VALUES (?1)");
        insert.BindText(1, time);
        if (!insert.Run()) return false;
        m_download = LastInsertId(m_db);
        return true;
    }

    bool AddOffer(const OfferKey& key, const OfferValues& values) {
        for (int i = 0; i < 4; ++i) m_addOffer.Bind(i + 1, key[i]);
        BindValues(m_addOffer, values);
        m_addOffer.Bind(11, m_download);
        return m_addOffer.Run();
    }

    // Keeps the offer's price and stock as earlier values when the download
    // changes either.
    bool Update(const LiveOffer& offer, const OfferValues& values) {
        const bool moved = values.price != offer.values.price || values.stock != offer.values.stock;
        if (moved) {
            m_keepEarlier.Bind(1, offer.id);
            m_keepEarlier.Bind(2, m_download);
            m_keepEarlier.Bind(3, offer.values.price);
            m_keepEarlier.Bind(4, offer.values.stock);
            if (!m_keepEarlier.Run()) return false;
        } else if (values.details == offer.values.details) {
            return true;
        }
        m_update.Bind(1, offer.id);
        BindValues(m_update, values);
        if (moved)
            m_update.Bind(11, m_download);
        else
            m_update.BindNull(11);
        return m_update.Run();
    }

    bool MarkGone(std::int64_t offer) {
        m_markGone.Bind(1, offer);
        m_markGone.Bind(2, m_download);
        return m_markGone.Run();
    }

private:
    // Parameters 5 to 10 of both the insert and the update.
    static void BindValues(SqliteStatement& statement, const OfferValues& values) {
        for (int i = 0; i < 4; ++i) statement.Bind(i + 5, values.details[i]);
        statement.Bind(9, values.price);
        statement.Bind(10, values.stock);
    }

    sqlite3* m_db;
    std::int64_t m_download = 0;
    SqliteStatement m_addOffer{m_db, R"sql(
        INSERT INTO offer (product, company, city, occurrence, category, durability, attack,
                           defense, price, stock, changed, appeared)
        VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?11))sql"};
    SqliteStatement m_update{m_db, R"sql(
        UPDATE offer SET category = ?5, durability = ?6, attack = ?7, defense = ?8,
                         price = ?9, stock = ?10, changed = coalesce(?11, changed)
        WHERE id = ?1)sql"};
    SqliteStatement m_keepEarlier{
        m_db, "INSERT INTO earlier_values (offer, until, price, stock) VALUES (?1, ?2, ?3, ?4)"};
    SqliteStatement m_markGone{m_db, "UPDATE offer SET gone = ?2 WHERE id = ?1"};
};

// Everything of one download, inside the caller's transaction.
bool RecordDownload(sqlite3* db, const std::vector<ProductRecord>& offers, std::string_view time) {
    NameIds products(db, "product_name");
    NameIds categories(db, "category_name");
    NameIds companies(db, "company_name");
    NameIds cities(db, "city_name");
    LiveOffers live;
    live.reserve(offers.size());
    DownloadWriter writer(db);
    if (!products.Loaded() || !categories.Loaded() || !companies.Loaded() || !cities.Loaded() ||
        !LoadLiveOffers(db, live) || !writer.Begin(time))
        return false;

    std::unordered_map<OfferKey, std::int64_t, IdKeyHash> occurrences;
    occurrences.reserve(offers.size());
    for (const ProductRecord& offer : offers) {
        const auto product = products.Id(offer.productName);
        const auto category = categories.Id(offer.category);
        const auto company = companies.Id(offer.companyName);
        const auto city = cities.Id(offer.cityName);
        if (!product || !category || !company || !city) return false;
        OfferKey key{*product, *company, *city, 0};
        key[3] = occurrences[key]++;
        const OfferValues values{
            {*category, offer.durability, offer.attack, offer.defense}, offer.price, offer.stock};
        const auto found = live.find(key);
        if (found == live.end()) {
            if (!writer.AddOffer(key, values)) return false;
            continue;
        }
        found->second.seen = true;
        if (!writer.Update(found->second, values)) return false;
    }
    for (const auto& [key, offer] : live)
        if (!offer.seen && !writer.MarkGone(offer.id)) return false;
    return true;
}

}  // namespace

bool PriceHistory::Record(const std::vector<ProductRecord>& offers, std::string_view time,
                          std::string* failureReason) {
    sqlite3* db = m_db.get();
    // One transaction per download: a kill or a full disk costs at most this one.
    if (Execute(db, "BEGIN IMMEDIATE") && RecordDownload(db, offers, time) && Execute(db, "COMMIT"))
        return true;
    if (failureReason != nullptr) *failureReason = FailureText(db);
    // SQLite may already have rolled back on its own, after a full disk for one.
    if (InTransaction(db)) Execute(db, "ROLLBACK");
    return false;
}

bool PriceHistory::IsEmpty() const {
    SqliteStatement any(m_db.get(), "SELECT 1 FROM download LIMIT 1");
    return !any.Step() && !any.Failed();
}
