#pragma once
#include <cstdint>
#include <vector>

// The one place that asks the system's code-page converter (glibc iconv, Windows' own) about
// code page 932. Everything else works on the tables built here.
namespace platform {

// Index: a UTF-16 code unit of the Basic Multilingual Plane. Value: its CP932
// encoding, one byte (0x00..0xFF) or lead << 8 | trail; kNoMapping when CP932
// cannot hold the character.
inline constexpr std::uint16_t kNoMapping = 0xFFFF;
std::vector<std::uint16_t> BuildUnicodeToCp932Table();

// Index: a single CP932 byte, or lead << 8 | trail. Value: the BMP code point,
// kNoMapping when the byte sequence is not a character.
std::vector<std::uint16_t> BuildCp932ToUnicodeTable();

}  // namespace platform
