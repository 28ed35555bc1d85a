#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Conversions between the UTF-8 of the outside world (portal pages, settings files
// in UTF-8, the terminal and the toolkit) and the Shift-JIS (CP932) text that the
// program holds everywhere inside.

// Converts a downloaded page. Malformed UTF-8 and characters that CP932 cannot
// hold become "?"; the conversion never fails on them. The text ends at its first
// NUL. Returns false (and leaves `out` empty) only when `raw` is empty.
bool Utf8ToShiftJis(std::string_view raw, std::string& out);

// A field of a UTF-8 page as Shift-JIS: ASCII as it is, anything else converted
// into `buffer`, which the result then views. Inline: the parsers call it per field.
inline std::string_view Utf8FieldAsShiftJis(std::string_view field, std::string& buffer) {
    for (const char c : field)
        if (static_cast<unsigned char>(c) >= 0x80) {
            Utf8ToShiftJis(field, buffer);
            return buffer;
        }
    return field;
}

// Same conversion for text that carries no NUL, such as a fixed UI text or a value
// typed by the user.
std::string ToShiftJis(std::string_view utf8);

// Converts Shift-JIS text for display; bytes that are no CP932 character become
// U+FFFD.
std::string ShiftJisToUtf8(std::string_view sjis);
// The same, appended to `out`.
void AppendShiftJisAsUtf8(std::string_view sjis, std::string& out);

// Strict decoding for a reader that must reject what is no CP932 text: appends the
// UTF-8 of the whole characters at the start of `sjis` to `out` and returns the
// bytes they took, leaving a lead byte at the very end for the next piece; -1 at
// the first byte sequence that is no character.
std::ptrdiff_t AppendCp932PrefixAsUtf8(std::string_view sjis, std::string& out);
