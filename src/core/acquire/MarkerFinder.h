#pragma once
#include <string>
#include <string_view>

#include "shopdata/ShiftJisText.h"

// Pieces shared by the page parsers, which scan a page forward from marker to
// marker and cut the text up to the next "<".

inline constexpr std::string_view kTagOpen = "<";

// text[from, to); empty when the interval ends before it starts.
inline std::string_view Between(std::string_view text, size_t from, size_t to) {
    return to > from ? text.substr(from, to - from) : std::string_view();
}

// Where `needle` first occurs in `text` at or after `from`, or npos.
using FindFunction = size_t (*)(std::string_view text, std::string_view needle, size_t from);

// A search for one marker over one page, by ShiftJisFind unless told otherwise. A
// scan asks for positions that only move forward, so an answer that still lies ahead
// of the new start, or "none", is given again without searching: a marker that is
// far off or missing costs one pass over the page, not one per row.
class MarkerFinder {
public:
    MarkerFinder(std::string_view text, std::string_view marker, FindFunction find = ShiftJisFind)
        : m_text(text), m_marker(marker), m_find(find) {}

    size_t Find(size_t from) {
        if (m_searched && from >= m_searchedFrom && from <= m_found) return m_found;
        m_searched = true;
        m_searchedFrom = from;
        m_found = m_find(m_text, m_marker, from);
        return m_found;
    }

private:
    std::string_view m_text;
    std::string_view m_marker;
    FindFunction m_find;
    bool m_searched = false;
    size_t m_searchedFrom = 0;
    size_t m_found = std::string_view::npos;
};
