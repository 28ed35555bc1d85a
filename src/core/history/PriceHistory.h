#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/ChangeMarks.h"
#include "history/SqliteStatement.h"
#include "platform/Clock.h"
#include "shopdata/FixedTables.h"
#include "shopdata/ProductRecord.h"

struct HistoryOpening;
struct OfferTable;

// One download's figures for one product in the chosen cities.
struct HistoryPoint {
    std::string time;  // the download's, "%Y/%m/%d %H:%M:%S"
    int lowestPrice = 0;
    int medianPrice = 0;  // of the offers' prices; the lower middle one for an even count
    std::int64_t totalStock = 0;
    int offerCount = 0;

    bool operator==(const HistoryPoint&) const = default;
};

// The offers of every download that ended well, kept in one SQLite file, and what
// changed between downloads. An offer is identified by its product, company and
// city, and by its place among the offers of that download with the same three
// (a shop may list one good twice). One owner at a time: the store is not shared
// between threads.
class PriceHistory {
public:
    // Opens the store at `path`, creating it when it does not exist. A damaged
    // file, or an SQLite database of something else, is renamed aside and a fresh
    // store started in its place. Never fails by exception; see HistoryOpening.
    static HistoryOpening Open(const std::string& path, const Clock& clock = SystemClock());
    // Opens the store at `path` for reading, creating, laying out and setting aside
    // nothing. No store and no reason when the file is missing or holds nothing
    // yet; no store and the reason when it is damaged, of something else or
    // unreadable. Recording into such a store fails.
    static HistoryOpening OpenForReading(const std::string& path);

    PriceHistory(PriceHistory&&) = default;
    PriceHistory& operator=(PriceHistory&&) = default;

    // Records one download's offers, in the order the pages list them, with the
    // download's time ("%Y/%m/%d %H:%M:%S"). All or nothing: on failure (a full
    // disk, a read-only file) the earlier records stay as they were, the store
    // stays usable and `failureReason`, when given, says why.
    bool Record(const std::vector<ProductRecord>& offers, std::string_view time,
                std::string* failureReason = nullptr);
    bool Record(const OfferTable& offers, std::string_view time,
                std::string* failureReason = nullptr);

    // Whether no download has been recorded yet; false when that cannot be read, so
    // that a store in trouble is not given a second first record.
    bool IsEmpty() const;

    // What the latest recorded download added or repriced since the one before it;
    // none when that cannot be read.
    std::optional<ChangeMarks> ReadChangeMarks(std::string* failureReason = nullptr) const;
    // Sets `change` and `previousPrice` of the latest recorded download's offers,
    // passed in any order, from the download before it (ChangeMarks::MarkOffers).
    // An offer that is not in the latest download with all its values gets no mark.
    bool MarkChanges(std::vector<ProductRecord>& offers,
                     std::string* failureReason = nullptr) const;

    // The offers of the download before the latest that the latest no longer has
    // (sold out or withdrawn), with the values they last had.
    std::vector<ProductRecord> GoneSincePrevious(std::string* failureReason = nullptr) const;

    // For the product of exactly this name, one point per download that offered
    // it in one of the chosen cities, oldest first.
    std::vector<HistoryPoint> ProductHistory(std::string_view productName, const CityFlags& cities,
                                             std::string* failureReason = nullptr) const;

private:
    explicit PriceHistory(SqliteConnection db) : m_db(std::move(db)) {}

    SqliteConnection m_db;
};

// What opening the store gave.
struct HistoryOpening {
    std::optional<PriceHistory> history;  // none when no store could be opened
    // Where an unusable file was moved, so that the player can be told; empty when
    // none was.
    std::string setAsidePath;
    bool setAsideWasForeign = false;  // an SQLite database of something else, not a damaged file
    std::string failureReason;        // why there is no store
};
