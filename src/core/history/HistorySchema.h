#pragma once
#include <string>

struct sqlite3;

// What an opened file holds, as far as the price history is concerned.
enum class HistoryFileKind {
    Ours,     // a price history of this layout, ready for use
    Empty,    // no tables yet: what a store is before its layout is made
    Damaged,  // not readable as an SQLite database
    Foreign,  // an SQLite database, but not a price history
    Failed,   // could not be looked at (locked, unreadable): leave it alone
};

// Looks at a freshly opened file and, when it holds nothing yet, lays out the
// tables (never Empty). On Failed `failureReason` says why.
HistoryFileKind PrepareHistoryFile(sqlite3* db, std::string& failureReason);

// Looks at a file opened for reading only and changes nothing in it.
HistoryFileKind InspectHistoryFile(sqlite3* db, std::string& failureReason);
