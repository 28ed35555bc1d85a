#include "shopdata/ShiftJisText.h"

#include <charconv>
#include <climits>
#include <cstdint>
#include <cstring>

namespace {

bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The first character start at or after `pos`, found by walking back to a known
// start and forward again. Bytes below 0x40 are never the second byte of a
// double-byte character, so the byte after one always starts a character; markup
// is full of them, which keeps the walk back short. `knownStart` (a character
// start at or before `pos`) bounds the walk where there are none, as in a long run
// of double-byte text.
size_t NextCharacterStart(std::string_view text, size_t pos, size_t knownStart) {
    size_t start = pos;
    while (start > knownStart && static_cast<unsigned char>(text[start - 1]) >= 0x40) --start;
    size_t i = start;
    while (i < pos) i += IsShiftJisLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    return i;
}

bool StartsCharacter(std::string_view text, size_t pos) {
    return NextCharacterStart(text, pos, 0) == pos;
}

}  // namespace

size_t ShiftJisFind(std::string_view text, std::string_view needle, size_t from) {
    if (from > text.size()) return std::string_view::npos;
    if (needle.empty()) {
        while (from < text.size() && !StartsCharacter(text, from)) ++from;
        return from;
    }
    if (static_cast<unsigned char>(needle[0]) < 0x40) return text.find(needle, from);
    // Each rejected candidate leaves the start of the character after it as the
    // bound for the next walk back, so a run of false candidates is walked once.
    size_t knownStart = 0;
    for (size_t pos = text.find(needle, from); pos != std::string_view::npos;
         pos = text.find(needle, pos + 1)) {
        knownStart = NextCharacterStart(text, pos, knownStart);
        if (knownStart == pos) return pos;
    }
    return std::string_view::npos;
}

int ShiftJisCompare(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    auto unitAt = [](std::string_view s, size_t& k) -> std::uint32_t {
        const auto lead = static_cast<unsigned char>(s[k++]);
        if (!IsShiftJisLeadByte(lead) || k == s.size()) return lead;
        return static_cast<std::uint32_t>(lead) << 8 | static_cast<unsigned char>(s[k++]);
    };
    while (i < a.size() && j < b.size()) {
        // Equal bytes are equal units as long as both sides stay in step.
        if (a[i] == b[j] && !IsShiftJisLeadByte(static_cast<unsigned char>(a[i]))) {
            ++i, ++j;
            continue;
        }
        const std::uint32_t ua = unitAt(a, i);
        const std::uint32_t ub = unitAt(b, j);
        if (ua != ub) return ua < ub ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

int AtoiReading(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsAsciiSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<std::int64_t>(INT_MAX) + 1)
            value = static_cast<std::int64_t>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::string_view TrimAsciiSpace(std::string_view text) {
    while (!text.empty() && IsAsciiSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsAsciiSpace(text.back())) text.remove_suffix(1);
    return text;
}

std::string FormatInt(int value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}
