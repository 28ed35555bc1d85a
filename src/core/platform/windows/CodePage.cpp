#include "platform/CodePage.h"

#include <windows.h>

// Windows' own code page 932 converter, brought to the tables glibc's iconv gives, so that a
// page reads the same on both systems.
namespace platform {
namespace {

constexpr UINT kCp932 = 932;

bool IsLeadByte(unsigned b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Windows passes these through (0x80 as U+0080, the others to private use); they are no
// characters of code page 932.
bool IsUnassignedSingleByte(unsigned b) {
    return b == 0x80 || b == 0xA0 || b >= 0xFD;
}

std::uint16_t Decode(const char* in, int length) {
    wchar_t out[2];
    const int n = MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, in, length, out, 2);
    return n == 1 ? static_cast<std::uint16_t>(out[0]) : kNoMapping;
}

std::vector<std::uint16_t> BuildUnicodeToCp932Table() {
    std::vector<std::uint16_t> table(0x10000, kNoMapping);
    table[0] = 0;
    for (std::uint32_t cp = 1; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        const wchar_t in = static_cast<wchar_t>(cp);
        unsigned char out[4];
        BOOL usedDefault = FALSE;
        // No best fit: a character CP932 cannot hold must not turn into a look-alike ("é" into
        // "e"), the same as iconv.
        const int n =
            WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, &in, 1, reinterpret_cast<char*>(out),
                                sizeof out, nullptr, &usedDefault);
        if (usedDefault) continue;
        if (n == 1 && !IsUnassignedSingleByte(out[0]))
            table[cp] = out[0];
        else if (n == 2)
            table[cp] = static_cast<std::uint16_t>(out[0] << 8 | out[1]);
    }
    // Windows refuses the look-alikes iconv writes.
    for (const auto& [cp, code] : kOneWayToCp932) table[cp] = code;
    return table;
}

std::vector<std::uint16_t> BuildCp932ToUnicodeTable() {
    std::vector<std::uint16_t> table(0x10000, kNoMapping);
    table[0] = 0;
    for (unsigned b = 1; b < 0x100; ++b) {
        if (IsLeadByte(b) || IsUnassignedSingleByte(b)) continue;
        const char in[1] = {static_cast<char>(b)};
        table[b] = Decode(in, 1);
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(lead)) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            table[lead << 8 | trail] = Decode(in, 2);
        }
    }
    return table;
}

}  // namespace

Cp932Tables BuildCp932Tables() {
    return {BuildCp932ToUnicodeTable(), BuildUnicodeToCp932Table()};
}

}  // namespace platform
