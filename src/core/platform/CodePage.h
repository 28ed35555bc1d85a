#pragma once
#include <cstdint>
#include <vector>

// The one place that asks the system's code-page converter (glibc iconv, Windows' own) about
// code page 932. Everything else works on the tables built here.
namespace platform {

inline constexpr std::uint16_t kNoMapping = 0xFFFF;

// The characters iconv writes as the code page 932 look-alikes of others, which read
// back as those: JIS X 0208 and Latin-1 forms such as "〜" for "～", "−" for "－"
// and "¥" for "\".
inline constexpr std::uint16_t kOneWayToCp932[][2] = {
    {0x00A2, 0x8191}, {0x00A3, 0x8192}, {0x00A5, 0x5C},   {0x00AC, 0x81CA}, {0x2014, 0x815C},
    {0x2016, 0x8161}, {0x203E, 0x7E},   {0x2212, 0x817C}, {0x301C, 0x8160},
};

struct Cp932Tables {
    // Index: a single CP932 byte, or lead << 8 | trail. Value: the BMP code point,
    // kNoMapping when the byte sequence is not a character.
    std::vector<std::uint16_t> toUnicode;
    // Index: a UTF-16 code unit of the Basic Multilingual Plane. Value: its CP932
    // encoding, one byte (0x00..0xFF) or lead << 8 | trail; kNoMapping when CP932
    // cannot hold the character.
    std::vector<std::uint16_t> fromUnicode;
};
// Both directions at once: one may be derived from the other.
Cp932Tables BuildCp932Tables();

}  // namespace platform
