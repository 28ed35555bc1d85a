#include "platform/CodePage.h"

#include <iconv.h>

#include <stdexcept>

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

}  // namespace

std::vector<std::uint16_t> BuildUnicodeToCp932Table() {
    std::vector<std::uint16_t> table(0x10000, kNoMapping);
    Converter toCp932("CP932", "UTF-32LE");
    table[0] = 0;
    for (std::uint32_t cp = 1; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        const char in[4] = {static_cast<char>(cp & 0xFF), static_cast<char>((cp >> 8) & 0xFF), 0,
                            0};
        unsigned char out[4];
        const size_t n = toCp932.Convert(in, 4, reinterpret_cast<char*>(out), sizeof out);
        if (n == 1)
            table[cp] = out[0];
        else if (n == 2)
            table[cp] = static_cast<std::uint16_t>(out[0] << 8 | out[1]);
    }
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

}  // namespace platform
