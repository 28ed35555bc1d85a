#pragma once
#include <string>
#include <string_view>

// The rules by which the program reads and compares its Shift-JIS text, shared by
// the page parsers, the settings store and the filter.

inline bool IsShiftJisLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Position of the first occurrence of `needle` in `text` at or after `from` that
// starts on a character boundary of `text` (never on the second byte of a
// double-byte character), or npos.
size_t ShiftJisFind(std::string_view text, std::string_view needle, size_t from);

inline bool ShiftJisContains(std::string_view text, std::string_view needle) {
    return ShiftJisFind(text, needle, 0) != std::string_view::npos;
}

// Byte-wise multibyte ordering: a double-byte character is one unit worth
// lead << 8 | trail, so every double-byte character sorts after every single-byte
// one. No case folding, no collation. Returns <0, 0 or >0.
int ShiftJisCompare(std::string_view a, std::string_view b);

inline bool ShiftJisLess(std::string_view a, std::string_view b) {
    return ShiftJisCompare(a, b) < 0;
}

// The C library's atoi reading: leading white space, an optional sign, then
// decimal digits up to the first other character; no digits give 0. Values past
// the 32-bit range are clamped.
int AtoiReading(std::string_view text);

// Removes leading and trailing ASCII white space (space, \t, \n, \v, \f, \r); a
// full-width space is kept.
std::string_view TrimAsciiSpace(std::string_view text);

// `value` formatted as "%d".
std::string FormatInt(int value);
