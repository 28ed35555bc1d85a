#include "platform/CodePage.h"

#include <iconv.h>

#include <stdexcept>
#include <utility>

namespace platform {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("the system has no CP932 converter");
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one whole sequence; returns the output length, or 0 when the
    // input is not convertible as a whole.
    size_t Convert(const char* in, size_t inLength, char* out, size_t outCapacity) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in);
        char* outPtr = out;
        size_t inLeft = inLength;
        size_t outLeft = outCapacity;
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
            inLeft != 0)
            return 0;
        return outCapacity - outLeft;
    }

private:
    iconv_t m_cd;
};

bool IsLeadByte(unsigned b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::vector<std::uint16_t> BuildUnicodeToCp932Table(const std::vector<std::uint16_t>& readings) {
    // iconv's answers without asking it for each of the 65,536 characters, which
    // takes milliseconds: a character it writes is the reading of some code, bar the
    // look-alikes. Of several codes that read as one character it writes the first,
    // except that the NEC-selected rows (lead bytes 0xED, 0xEE) give way to the IBM
    // extension rows.
    const auto necSelected = [](std::uint32_t code) {
        return code >> 8 == 0xED || code >> 8 == 0xEE;
    };
    std::vector<std::uint16_t> table(0x10000, kNoMapping);
    for (std::uint32_t code = 0; code < 0x10000; ++code) {
        const std::uint16_t cp = readings[code];
        if (cp == kNoMapping) continue;
        if (table[cp] == kNoMapping || (necSelected(table[cp]) && !necSelected(code)))
            table[cp] = static_cast<std::uint16_t>(code);
    }
    for (const auto& [cp, code] : kOneWayToCp932) table[cp] = code;
    return table;
}

std::vector<std::uint16_t> BuildCp932ToUnicodeTable() {
    std::vector<std::uint16_t> table(0x10000, kNoMapping);
    Converter fromCp932("UTF-32LE", "CP932");
    auto decode = [&](const char* in, size_t length) -> std::uint16_t {
        unsigned char out[8];
        if (fromCp932.Convert(in, length, reinterpret_cast<char*>(out), sizeof out) != 4)
            return kNoMapping;
        const std::uint32_t cp = out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24;
        return cp < 0x10000 ? static_cast<std::uint16_t>(cp) : kNoMapping;
    };
    table[0] = 0;
    for (unsigned b = 1; b < 0x100; ++b) {
        if (IsLeadByte(b)) continue;
        const char in[1] = {static_cast<char>(b)};
        table[b] = decode(in, 1);
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(lead)) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            table[lead << 8 | trail] = decode(in, 2);
        }
    }
    return table;
}

}  // namespace

Cp932Tables BuildCp932Tables() {
    std::vector<std::uint16_t> readings = BuildCp932ToUnicodeTable();
    std::vector<std::uint16_t> writings = BuildUnicodeToCp932Table(readings);
    return {std::move(readings), std::move(writings)};
}

}  // namespace platform
