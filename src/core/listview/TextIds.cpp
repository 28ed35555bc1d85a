#include "listview/TextIds.h"

#include <cstring>

namespace {

// Mixes eight bytes at a time; texts are short, so this beats a byte-wise hash.
std::uint64_t HashText(std::string_view text) {
    std::uint64_t hash = 0x9E3779B97F4A7C15ull ^ text.size();
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        hash = (hash ^ word) * 0xBF58476D1CE4E5B9ull;
        hash ^= hash >> 31;
    }
    std::uint64_t tail = 0;
    if (i < text.size()) std::memcpy(&tail, text.data() + i, text.size() - i);
    hash = (hash ^ tail) * 0x94D049BB133111EBull;
    return hash ^ (hash >> 29);
}

std::uint64_t Tag(std::uint64_t hash) {
    return hash & 0xFFFFFFFF00000000ull;
}

}  // namespace

std::uint32_t TextIds::IdOf(std::string_view text) {
    const std::uint64_t hash = HashText(text);
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint64_t entry = m_slots[slot];
        if (entry == 0) {
            const auto id = static_cast<std::uint32_t>(m_texts.size());
            m_texts.push_back(text);
            m_slots[slot] = Tag(hash) | (id + 1u);
            if (m_texts.size() * 2 > m_slots.size()) Grow();
            return id;
        }
        const auto id = static_cast<std::uint32_t>(entry) - 1;
        if (Tag(entry) == Tag(hash) && m_texts[id] == text) return id;
    }
}

void TextIds::Grow() {
    std::vector<std::uint64_t> slots(m_slots.size() * 2);
    const size_t mask = slots.size() - 1;
    for (std::uint32_t id = 0; id < m_texts.size(); ++id) {
        const std::uint64_t hash = HashText(m_texts[id]);
        size_t slot = hash & mask;
        while (slots[slot] != 0) slot = (slot + 1) & mask;
        slots[slot] = Tag(hash) | (id + 1u);
    }
    m_slots.swap(slots);
}
