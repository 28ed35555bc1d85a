#include "history/HistorySchema.h"

#include <sqlite3.h>

#include <optional>

#include "history/SqliteStatement.h"

namespace {

// "VdPH" in the database header, so that a file of another program is never
// taken for a price history however its tables are named.
constexpr std::int64_t kApplicationId = 0x56645048;
constexpr std::int64_t kLayoutVersion = 1;

// Names are kept once each and referred to by id. An offer is one span of
// presence of (product, company, city, occurrence): it appears in one download and
// is gone in a later one (NULL while still offered); an offer that comes back
// starts a new span. The offer row holds its latest price and stock, and the
// download they date from; the values they replaced go to earlier_values only when
// a download brings a change, each row holding until (not including) that
// download. Names are blobs: Shift-JIS is no text to SQLite.
constexpr const char* kLayout = R"sql(
CREATE TABLE product_name (id INTEGER PRIMARY KEY, name BLOB NOT NULL UNIQUE);
CREATE TABLE category_name (id INTEGER PRIMARY KEY, name BLOB NOT NULL UNIQUE);
CREATE TABLE company_name (id INTEGER PRIMARY KEY, name BLOB NOT NULL UNIQUE);
CREATE TABLE city_name (id INTEGER PRIMARY KEY, name BLOB NOT NULL UNIQUE);
CREATE TABLE download (id INTEGER PRIMARY KEY, time TEXT NOT NULL);
CREATE TABLE offer (
    id INTEGER PRIMARY KEY,
    product INTEGER NOT NULL REFERENCES product_name,
    company INTEGER NOT NULL REFERENCES company_name,
    city INTEGER NOT NULL REFERENCES city_name,
    occurrence INTEGER NOT NULL,
    category INTEGER NOT NULL REFERENCES category_name,
    durability INTEGER NOT NULL,
    attack INTEGER NOT NULL,
    defense INTEGER NOT NULL,
    price INTEGER NOT NULL,
    stock INTEGER NOT NULL,
    changed INTEGER NOT NULL REFERENCES download,
    appeared INTEGER NOT NULL REFERENCES download,
    gone INTEGER REFERENCES download);
CREATE INDEX offer_by_product ON offer (product);
CREATE TABLE earlier_values (
    offer INTEGER NOT NULL REFERENCES offer,
    until INTEGER NOT NULL REFERENCES download,
    price INTEGER NOT NULL,
    stock INTEGER NOT NULL,
    PRIMARY KEY (offer, until)) WITHOUT ROWID;
)sql";

// A connection's single answer to `sql`, or none when it fails. The statement is
// finished before the answer returns: an unfinished one would keep a later
// transaction from committing.
std::optional<std::int64_t> ReadInteger(sqlite3* db, const char* sql) {
    SqliteStatement query(db, sql);
    if (!query.Step()) return std::nullopt;
    return query.Integer(0);
}

std::optional<std::string> ReadText(sqlite3* db, const char* sql) {
    SqliteStatement query(db, sql);
    if (!query.Step()) return std::nullopt;
    return query.Bytes(0);
}

HistoryFileKind KindOfFailure(sqlite3* db, std::string& failureReason) {
    const int code = FailureCode(db) & 0xff;
    if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT) return HistoryFileKind::Damaged;
    failureReason = FailureText(db);
    return HistoryFileKind::Failed;
}

HistoryFileKind LayOut(sqlite3* db, std::string& failureReason) {
    const std::string sql = "BEGIN IMMEDIATE;" + std::string(kLayout) +
                            "PRAGMA application_id = " + std::to_string(kApplicationId) +
                            "; PRAGMA user_version = " + std::to_string(kLayoutVersion) +
                            "; COMMIT;";
    if (Execute(db, sql.c_str())) return HistoryFileKind::Ours;
    const HistoryFileKind kind = KindOfFailure(db, failureReason);
    Execute(db, "ROLLBACK");
    return kind;
}

// What the header tells without changing anything: Empty for a file that holds
// nothing yet, Ours for one that claims to be a price history of this layout.
HistoryFileKind ReadKind(sqlite3* db, std::string& failureReason) {
    // The first read of the header tells a file that is no database at all.
    const auto applicationId = ReadInteger(db, "PRAGMA application_id");
    if (!applicationId) return KindOfFailure(db, failureReason);
    const auto tables = ReadInteger(db, "SELECT count(*) FROM sqlite_master");
    if (!tables) return KindOfFailure(db, failureReason);
    if (*applicationId == 0 && *tables == 0) return HistoryFileKind::Empty;
    if (*applicationId != kApplicationId ||
        ReadInteger(db, "PRAGMA user_version") != kLayoutVersion)
        return HistoryFileKind::Foreign;
    return HistoryFileKind::Ours;
}

// The quick check reads every page, so a damaged one deep in the file is found now
// rather than by a later query; it skips only comparing indexes with their tables.
HistoryFileKind QuickCheck(sqlite3* db, std::string& failureReason) {
    const auto check = ReadText(db, "PRAGMA quick_check(1)");
    if (!check) return KindOfFailure(db, failureReason);
    return *check == "ok" ? HistoryFileKind::Ours : HistoryFileKind::Damaged;
}

}  // namespace

HistoryFileKind PrepareHistoryFile(sqlite3* db, std::string& failureReason) {
    const HistoryFileKind kind = ReadKind(db, failureReason);
    if (kind != HistoryFileKind::Ours && kind != HistoryFileKind::Empty) return kind;
    // WAL: a kill mid-record leaves only uncommitted frames, which the next open
    // drops, and readers never wait for a recording.
    const auto journal = ReadText(db, "PRAGMA journal_mode = WAL");
    if (!journal) return KindOfFailure(db, failureReason);
    if (*journal != "wal") {
        failureReason = "the file cannot take a write-ahead log";
        return HistoryFileKind::Failed;
    }
    if (kind == HistoryFileKind::Empty) return LayOut(db, failureReason);
    return QuickCheck(db, failureReason);
}

HistoryFileKind InspectHistoryFile(sqlite3* db, std::string& failureReason) {
    const HistoryFileKind kind = ReadKind(db, failureReason);
    return kind == HistoryFileKind::Ours ? QuickCheck(db, failureReason) : kind;
}
