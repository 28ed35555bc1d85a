#include "shopdata/TextConversion.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/CodePage.h"
#include "shopdata/ShiftJisText.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

const platform::Cp932Tables& Tables() {
    static const platform::Cp932Tables tables = platform::BuildCp932Tables();
    return tables;
}

const std::vector<std::uint16_t>& UnicodeToCp932() {
    return Tables().fromUnicode;
}

const std::vector<std::uint16_t>& Cp932ToUnicode() {
    return Tables().toUnicode;
}

// Decodes one UTF-8 sequence at `p`. Malformed input yields one U+FFFD for each
// maximal valid prefix (at least one byte), so decoding always moves on and never
// swallows a byte that could start the next character.
char32_t DecodeUtf8(const unsigned char*& p, const unsigned char* end) {
    const unsigned char b0 = *p++;
    if (b0 < 0x80) return b0;
    int length;
    unsigned char low = 0x80;  // allowed range of the second byte
    unsigned char high = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0) low = 0xA0;   // overlong
        if (b0 == 0xED) high = 0x9F;  // surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0) low = 0x90;   // overlong
        if (b0 == 0xF4) high = 0x8F;  // past U+10FFFF
    } else {
        return kReplacement;
    }
    char32_t cp = b0 & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const unsigned char lo = i == 1 ? low : 0x80;
        const unsigned char hi = i == 1 ? high : 0xBF;
        if (p == end || *p < lo || *p > hi) return kReplacement;
        cp = cp << 6 | (*p++ & 0x3F);
    }
    return cp;
}

// Writes the CP932 form of `cp` at `out` and returns the end of what it wrote.
char* PutCp932(char32_t cp, const std::uint16_t* toCp932, char* out) {
    const std::uint16_t code = cp < 0x10000 ? toCp932[cp] : platform::kNoMapping;
    if (code == platform::kNoMapping) {
        *out++ = '?';
    } else if (code > 0xFF) {
        *out++ = static_cast<char>(code >> 8);
        *out++ = static_cast<char>(code & 0xFF);
    } else {
        *out++ = static_cast<char>(code);
    }
    return out;
}

// Whether `p` starts a three-byte sequence whose every second byte is allowed:
// kana, kanji and the full-width forms, most of a page's Japanese.
bool IsPlainThreeByteSequence(const unsigned char* p, const unsigned char* end) {
    return end - p >= 3 && p[0] >= 0xE1 && p[0] <= 0xEF && p[0] != 0xED && (p[1] & 0xC0) == 0x80 &&
           (p[2] & 0xC0) == 0x80;
}

constexpr std::uint64_t kLowBits = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// High bits where `v` has a byte above 0x7F, or a NUL (and maybe past it).
std::uint64_t NotPlainAscii(std::uint64_t v) {
    return (v | ((v - kLowBits) & ~v)) & kHighBits;
}

// True when none of the eight bytes is NUL or above 0x7F.
bool IsPlainAscii(std::uint64_t v) {
    return NotPlainAscii(v) == 0;
}

// Writes the UTF-8 form of a BMP code point at `out` and returns the end.
char* PutUtf8(char32_t cp, char* out) {
    if (cp < 0x80) {
        *out++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *out++ = static_cast<char>(0xC0 | cp >> 6);
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *out++ = static_cast<char>(0xE0 | cp >> 12);
        *out++ = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

}  // namespace

bool Utf8ToShiftJis(std::string_view raw, std::string& out) {
    out.clear();
    if (raw.empty()) return false;
    // Every character takes no more bytes in CP932 than in UTF-8, and every
    // malformed byte becomes one "?", so the input length bounds the output.
    out.resize(raw.size());
    const auto* p = reinterpret_cast<const unsigned char*>(raw.data());
    const auto* end = p + raw.size();
    char* const begin = out.data();
    char* o = begin;
    const std::uint16_t* const toCp932 = UnicodeToCp932().data();
    while (p != end) {
        // Pages are mostly ASCII markup: copy it 32 bytes at a time, then eight.
        std::uint64_t block[4];
        while (end - p >= 32 && (std::memcpy(block, p, 32),
                                 (NotPlainAscii(block[0]) | NotPlainAscii(block[1]) |
                                  NotPlainAscii(block[2]) | NotPlainAscii(block[3])) == 0)) {
            std::memcpy(o, p, 32);
            p += 32, o += 32;
        }
        std::uint64_t chunk;
        while (end - p >= 8 && (std::memcpy(&chunk, p, 8), IsPlainAscii(chunk))) {
            std::memcpy(o, p, 8);
            p += 8, o += 8;
        }
        if (p == end) break;
        if (*p < 0x80) {
            if (*p == 0) break;
            *o++ = static_cast<char>(*p++);
        } else if (IsPlainThreeByteSequence(p, end)) {
            const char32_t cp = (p[0] & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
            p += 3;
            o = PutCp932(cp, toCp932, o);
        } else {
            o = PutCp932(DecodeUtf8(p, end), toCp932, o);
        }
    }
    out.resize(static_cast<size_t>(o - begin));
    return true;
}

std::string ToShiftJis(std::string_view utf8) {
    std::string out;
    Utf8ToShiftJis(utf8, out);
    return out;
}

std::string ShiftJisToUtf8(std::string_view sjis) {
    std::string out;
    AppendShiftJisAsUtf8(sjis, out);
    return out;
}

void AppendShiftJisAsUtf8(std::string_view sjis, std::string& out) {
    // No byte of Shift-JIS takes more than three bytes of UTF-8 (a half-width kana
    // or a byte that is no character, U+FFFD), so the room is reserved once.
    const size_t start = out.size();
    out.resize(start + 3 * sjis.size());
    char* const begin = out.data() + start;
    char* o = begin;
    const auto* p = reinterpret_cast<const unsigned char*>(sjis.data());
    const auto* const end = p + sjis.size();
    const auto& table = Cp932ToUnicode();
    while (p != end) {
        const unsigned char b = *p++;
        if (b < 0x80) {
            *o++ = static_cast<char>(b);
            continue;
        }
        std::uint16_t cp = platform::kNoMapping;
        if (IsShiftJisLeadByte(b)) {
            if (p != end) {
                cp = table[b << 8 | *p];
                if (cp != platform::kNoMapping) ++p;
            }
        } else {
            cp = table[b];
        }
        o = PutUtf8(cp == platform::kNoMapping ? kReplacement : cp, o);
    }
    out.resize(start + static_cast<size_t>(o - begin));
}

std::ptrdiff_t AppendCp932PrefixAsUtf8(std::string_view sjis, std::string& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(sjis.data());
    const auto* const begin = p;
    const auto* const end = p + sjis.size();
    const auto& table = Cp932ToUnicode();
    char utf8[3];
    while (p != end) {
        std::uint16_t cp;
        int length = 1;
        if (*p < 0x80) {
            cp = *p;
        } else if (IsShiftJisLeadByte(*p)) {
            if (end - p < 2) break;
            cp = table[*p << 8 | p[1]];
            length = 2;
        } else {
            cp = table[*p];
        }
        if (cp == platform::kNoMapping) return -1;
        out.append(utf8, PutUtf8(cp, utf8));
        p += length;
    }
    return p - begin;
}
