#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "history/SqliteStatement.h"

// The ids of the names in one of the history's name tables, loaded at once.
class NameIds {
public:
    NameIds(sqlite3* db, const std::string& table);

    // False when the table could not be read.
    bool Loaded() const { return m_loaded; }
    // The name's id, adding a new name; none when it could not be added.
    std::optional<std::int64_t> Id(std::string_view name);

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };

    std::unordered_map<std::string, std::int64_t, Hash, std::equal_to<>> m_ids;
    SqliteStatement m_insert;
    sqlite3* m_db;
    bool m_loaded = false;
};
