#include <sqlite3.h>

#include <algorithm>

#include "history/HistorySchema.h"
#include "history/PriceHistory.h"
#include "platform/Files.h"

namespace {

// Long enough for another copy of the program to finish recording a download,
// short enough that a stuck one never holds up the start.
constexpr int kBusyWaitMilliseconds = 2000;

// The files SQLite keeps beside a database; renamed along with it so that the
// file set aside stays as it was and the fresh store finds no stale log.
constexpr const char* kCompanions[] = {"-wal", "-shm", "-journal"};

SqliteConnection Connect(const std::string& path, std::string& failureReason) {
    sqlite3* raw = nullptr;
    const int result =
        sqlite3_open_v2(path.c_str(), &raw,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    SqliteConnection db(raw);
    if (result != SQLITE_OK) {
        failureReason = FailureText(raw);
        return nullptr;
    }
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, kBusyWaitMilliseconds);
    // Commits need not wait for the disk: with the write-ahead log a power cut may
    // cost the latest downloads' records, but never the file.
    Execute(raw, "PRAGMA synchronous = NORMAL");
    return db;
}

// `path` as a URI's path: the characters a URI gives a meaning to, escaped.
std::string UriPath(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    for (const char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            escaped += '%';
            escaped += kHex[static_cast<unsigned char>(c) >> 4];
            escaped += kHex[c & 0xF];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

// "2024/05/06 12:34:56" becomes "20240506-123456", a stamp fit for a file name.
std::string FileStamp(const Clock& clock) {
    std::string stamp = platform::LocalTimeText(clock.Now());
    std::erase_if(stamp, [](char c) { return c == '/' || c == ':'; });
    std::replace(stamp.begin(), stamp.end(), ' ', '-');
    return stamp;
}

// Renames the file and its companions to a name not yet taken; the new name, or
// empty with the reason when the file itself could not be moved.
std::string SetAside(const std::string& path, const Clock& clock, std::string& failureReason) {
    const std::string base = path + ".damaged-" + FileStamp(clock);
    std::string aside = base;
    for (int n = 2; platform::PathExists(aside); ++n) aside = base + "-" + std::to_string(n);
    if (!platform::RenameFile(path, aside, &failureReason)) return std::string();
    for (const char* suffix : kCompanions)
        if (platform::PathExists(path + suffix))
            platform::RenameFile(path + suffix, aside + suffix);
    return aside;
}

}  // namespace

HistoryOpening PriceHistory::Open(const std::string& path, const Clock& clock) {
    HistoryOpening opening;
    SqliteConnection db = Connect(path, opening.failureReason);
    if (!db) return opening;
    HistoryFileKind kind = PrepareHistoryFile(db.get(), opening.failureReason);
    if (kind == HistoryFileKind::Damaged || kind == HistoryFileKind::Foreign) {
        db.reset();
        opening.setAsideWasForeign = kind == HistoryFileKind::Foreign;
        opening.setAsidePath = SetAside(path, clock, opening.failureReason);
        if (opening.setAsidePath.empty()) return opening;
        db = Connect(path, opening.failureReason);
        if (!db) return opening;
        kind = PrepareHistoryFile(db.get(), opening.failureReason);
    }
    if (kind == HistoryFileKind::Ours)
        opening.history = PriceHistory(std::move(db));
    else if (opening.failureReason.empty())
        opening.failureReason = "the new history file is unusable";
    return opening;
}

HistoryOpening PriceHistory::OpenForReading(const std::string& path) {
    HistoryOpening opening;
    if (!platform::PathExists(path)) return opening;
    // Without a write-ahead log beside it, no program has the store open, and an
    // immutable open makes SQLite leave no log or shared-memory file behind; with
    // one, its frames may hold the latest downloads and must be read.
    const bool logged = platform::PathExists(path + "-wal");
    const std::string uri = "file:" + UriPath(path) + (logged ? "?mode=ro" : "?immutable=1");
    sqlite3* raw = nullptr;
    const int result = sqlite3_open_v2(
        uri.c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    SqliteConnection db(raw);
    if (result != SQLITE_OK) {
        opening.failureReason = FailureText(raw);
        return opening;
    }
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, kBusyWaitMilliseconds);
    switch (InspectHistoryFile(db.get(), opening.failureReason)) {
        case HistoryFileKind::Ours:
            opening.history = PriceHistory(std::move(db));
            break;
        case HistoryFileKind::Empty:
            break;
        case HistoryFileKind::Damaged:
            opening.failureReason = "the file is damaged";
            break;
        case HistoryFileKind::Foreign:
            opening.failureReason = "the file holds something other than a price history";
            break;
        case HistoryFileKind::Failed:
            break;
    }
    return opening;
}
