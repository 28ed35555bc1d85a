#include "history/ChangeMarks.h"
#include "history/PriceHistory.h"

namespace {

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

// Only the offers that appeared or changed in the latest download can carry a
// mark, a few in a hundred: the rest of the table is never read into memory.
bool ReadMarkedOffers(sqlite3* db, std::int64_t latest, ChangeMarks& marks) {
    SqliteStatement query(db, R"sql(
        SELECT c.name, t.name, p.name, g.name,
               o.price, o.stock, o.durability, o.attack, o.defense, o.appeared = ?1, e.price
        FROM offer o
        CROSS JOIN company_name c ON c.id = o.company
        CROSS JOIN city_name t ON t.id = o.city
        CROSS JOIN product_name p ON p.id = o.product
        CROSS JOIN category_name g ON g.id = o.category
        LEFT JOIN earlier_values e ON e.offer = o.id AND e.until = ?1
        WHERE o.gone IS NULL AND o.changed = ?1)sql");
    query.Bind(1, latest);
    while (query.Step()) {
        const auto number = [&](int column) { return static_cast<int>(query.Integer(column)); };
        ChangeMarks::Marked offer{number(4), number(5),      number(6),     number(7),
                                  number(8), query.Bytes(2), query.Bytes(3)};
        if (query.Integer(9) != 0) {
            offer.change = OfferChange::New;
        } else if (!query.IsNull(10) && number(10) != offer.price) {
            offer.previousPrice = number(10);
            offer.change =
                offer.price < offer.previousPrice ? OfferChange::Cheaper : OfferChange::Dearer;
        } else {
            continue;  // only its stock or details moved
        }
        marks.Add(query.Bytes(0), query.Bytes(1), std::move(offer));
    }
    return !query.Failed();
}

void SetFailure(std::string* failureReason, sqlite3* db) {
    if (failureReason != nullptr) *failureReason = FailureText(db);
}

}  // namespace

std::optional<ChangeMarks> PriceHistory::ReadChangeMarks(std::string* failureReason) const {
    sqlite3* db = m_db.get();
    const auto downloads = ReadLatestDownloads(db);
    ChangeMarks marks;
    // A single download has nothing before it to compare with: nothing is marked.
    if (downloads && (downloads->previous == 0 || ReadMarkedOffers(db, downloads->latest, marks)))
        return marks;
    SetFailure(failureReason, db);
    return std::nullopt;
}

bool PriceHistory::MarkChanges(std::vector<ProductRecord>& offers,
                               std::string* failureReason) const {
    std::optional<ChangeMarks> marks = ReadChangeMarks(failureReason);
    if (!marks) {
        for (ProductRecord& offer : offers) {
            offer.change = OfferChange::Unchanged;
            offer.previousPrice = -1;
        }
        return false;
    }
    marks->MarkOffers(offers);
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
