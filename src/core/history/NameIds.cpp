#include "history/NameIds.h"

NameIds::NameIds(sqlite3* db, const std::string& table)
    : m_insert(db, ("INSERT INTO " + table + " (name) VALUES (?1)").c_str()), m_db(db) {
    SqliteStatement all(db, ("SELECT name, id FROM " + table).c_str());
    while (all.Step()) m_ids.emplace(all.Bytes(0), all.Integer(1));
    m_loaded = !all.Failed();
}

std::optional<std::int64_t> NameIds::Id(std::string_view name) {
    if (const auto known = m_ids.find(name); known != m_ids.end()) return known->second;
    m_insert.BindBytes(1, name);
    if (!m_insert.Run()) return std::nullopt;
    const std::int64_t id = LastInsertId(m_db);
    m_ids.emplace(name, id);
    return id;
}
