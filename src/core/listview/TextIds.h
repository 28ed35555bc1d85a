#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

// Numbers the distinct texts of a column. A large table holds few distinct
// names, companies or cities, so most lookups find a text already numbered; the
// table is a flat array probed in place. Keeps views into the texts it is given.
class TextIds {
public:
    // The text's number; a text not seen before gets the next one.
    std::uint32_t IdOf(std::string_view text);

    // The distinct texts, indexed by number.
    const std::vector<std::string_view>& Texts() const { return m_texts; }

private:
    void Grow();

    // Per slot: the upper half of the text's hash and its number + 1; 0 is empty.
    std::vector<std::uint64_t> m_slots = std::vector<std::uint64_t>(64);
    std::vector<std::string_view> m_texts;
};
