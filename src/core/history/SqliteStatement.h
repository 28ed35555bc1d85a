#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// The few SQLite calls the price history makes, with the handles closed by their
// owners. Every call that can fail answers false; the connection's message then
// says why.

struct SqliteCloser {
    void operator()(sqlite3* db) const;
};
using SqliteConnection = std::unique_ptr<sqlite3, SqliteCloser>;

// Runs statements that return no rows.
bool Execute(sqlite3* db, const char* sql);

// The row id the connection's last insert gave.
std::int64_t LastInsertId(sqlite3* db);

// Whether the connection is inside a transaction it began.
bool InTransaction(sqlite3* db);

// The connection's message about its last failure.
std::string FailureText(sqlite3* db);

// The result code of the connection's last failure, with its extended bits.
int FailureCode(sqlite3* db);

// One prepared statement. Parameters and columns count from 1 and 0, as in SQLite.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // A statement whose text could not be prepared fails at its first Step.
    void Bind(int index, std::int64_t value);
    void BindNull(int index);
    // Binds the bytes as a blob: the names are Shift-JIS, which SQLite's text is not.
    void BindBytes(int index, std::string_view bytes);
    void BindText(int index, std::string_view text);

    // True while there is a row; false at the end or on failure (see Failed).
    bool Step();
    bool Failed() const { return m_failed; }
    // Runs a statement that returns no rows to its end, then makes it ready to run
    // again with new parameters; false on failure.
    bool Run();

    std::int64_t Integer(int column) const;
    bool IsNull(int column) const;
    std::string Bytes(int column) const;

private:
    sqlite3_stmt* m_statement = nullptr;
    bool m_failed = false;
};
