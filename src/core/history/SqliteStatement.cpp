#include "history/SqliteStatement.h"

#include <sqlite3.h>

void SqliteCloser::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

bool Execute(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::int64_t LastInsertId(sqlite3* db) {
    return sqlite3_last_insert_rowid(db);
}

bool InTransaction(sqlite3* db) {
    return sqlite3_get_autocommit(db) == 0;
}

std::string FailureText(sqlite3* db) {
    return db != nullptr ? sqlite3_errmsg(db) : "out of memory";
}

int FailureCode(sqlite3* db) {
    return db != nullptr ? sqlite3_extended_errcode(db) : SQLITE_NOMEM;
}

SqliteStatement::SqliteStatement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
        m_failed = true;
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_statement);
}

void SqliteStatement::Bind(int index, std::int64_t value) {
    sqlite3_bind_int64(m_statement, index, value);
}

void SqliteStatement::BindNull(int index) {
    sqlite3_bind_null(m_statement, index);
}

void SqliteStatement::BindBytes(int index, std::string_view bytes) {
    // A zero-length blob binds as an empty value, not as NULL.
    sqlite3_bind_blob64(m_statement, index, bytes.empty() ? "" : bytes.data(), bytes.size(),
                        SQLITE_STATIC);
}

void SqliteStatement::BindText(int index, std::string_view text) {
    sqlite3_bind_text64(m_statement, index, text.empty() ? "" : text.data(), text.size(),
                        SQLITE_STATIC, SQLITE_UTF8);
}

bool SqliteStatement::Step() {
    if (m_statement == nullptr || m_failed) return false;
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW) return true;
    m_failed = result != SQLITE_DONE;
    return false;
}

bool SqliteStatement::Run() {
    while (Step()) {
    }
    const bool ok = !m_failed;
    if (m_statement != nullptr) {
        sqlite3_reset(m_statement);
        m_failed = false;
    }
    return ok;
}

std::int64_t SqliteStatement::Integer(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

bool SqliteStatement::IsNull(int column) const {
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

std::string SqliteStatement::Bytes(int column) const {
    const void* data = sqlite3_column_blob(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    return data != nullptr ? std::string(static_cast<const char*>(data), size) : std::string();
}
