#include <algorithm>
#include <array>
#include <tuple>
#include <unordered_map>

#include "history/IdKey.h"
#include "history/NameIds.h"
#include "history/OfferTable.h"
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

// The store's id of every name of one column of the table, added when new.
bool StoreIds(sqlite3* db, const char* table, const std::vector<std::string>& names,
              std::vector<std::int64_t>& ids) {
    NameIds known(db, table);
    if (!known.Loaded()) return false;
    ids.reserve(names.size());
    for (const std::string& name : names) {
        const auto id = known.Id(name);
        if (!id) return false;
        ids.push_back(*id);
    }
    return true;
}

// Each offer's place among the offers before it with the same product, company
// and city: the offers sorted by those three and their position number them.
std::vector<std::uint32_t> Occurrences(const OfferTable& table) {
    const auto place = [&](std::uint32_t i) {
        const auto& names = table.offers[i].names;
        return std::tuple{names[OfferTable::Product], names[OfferTable::Company],
                          names[OfferTable::City]};
    };
    std::vector<std::uint32_t> order(table.offers.size());
    for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return std::tuple{place(a), a} < std::tuple{place(b), b};
    });
    std::vector<std::uint32_t> occurrences(order.size());
    for (size_t n = 1; n < order.size(); ++n)
        if (place(order[n]) == place(order[n - 1]))
            occurrences[order[n]] = occurrences[order[n - 1]] + 1;
    return occurrences;
}

// Everything of one download, inside the caller's transaction.
bool RecordDownload(sqlite3* db, const OfferTable& table, std::string_view time, bool first) {
    std::array<std::vector<std::int64_t>, 4> ids;
    constexpr const char* kTables[] = {"product_name", "category_name", "company_name",
                                       "city_name"};
    for (size_t column = 0; column < ids.size(); ++column)
        if (!StoreIds(db, kTables[column], table.names[column], ids[column])) return false;
    LiveOffers live;
    if (!first) live.reserve(table.offers.size());
    DownloadWriter writer(db);
    if (!LoadLiveOffers(db, live) || !writer.Begin(time)) return false;

    const std::vector<std::uint32_t> occurrences = Occurrences(table);
    for (size_t i = 0; i < table.offers.size(); ++i) {
        const OfferTable::Offer& offer = table.offers[i];
        const auto id = [&](OfferTable::Column column) { return ids[column][offer.names[column]]; };
        const OfferKey key{id(OfferTable::Product), id(OfferTable::Company), id(OfferTable::City),
                           occurrences[i]};
        const OfferValues values{
            {id(OfferTable::Category), offer.durability, offer.attack, offer.defense},
            offer.price,
            offer.stock};
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
    return Record(MakeOfferTable(offers), time, failureReason);
}

bool PriceHistory::Record(const OfferTable& offers, std::string_view time,
                          std::string* failureReason) {
    sqlite3* db = m_db.get();
    // A record after the first reads the live offers and updates them in place:
    // then the cache holds them at once (64 MB at most), so that each page is read
    // once. The first record only appends, and the other queries read a page or two
    // at a time; the memory goes back to the program after.
    const bool first = IsEmpty();
    if (!first) Execute(db, "PRAGMA cache_size = -65536");
    // One transaction per download: a kill or a full disk costs at most this one.
    const bool recorded = Execute(db, "BEGIN IMMEDIATE") &&
                          RecordDownload(db, offers, time, first) && Execute(db, "COMMIT");
    if (!recorded) {
        if (failureReason != nullptr) *failureReason = FailureText(db);
        // SQLite may already have rolled back on its own, after a full disk for one.
        if (InTransaction(db)) Execute(db, "ROLLBACK");
    }
    Execute(db, "PRAGMA cache_size = -2000; PRAGMA shrink_memory");
    return recorded;
}

bool PriceHistory::IsEmpty() const {
    SqliteStatement any(m_db.get(), "SELECT 1 FROM download LIMIT 1");
    return !any.Step() && !any.Failed();
}
