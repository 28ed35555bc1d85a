// CP932 conversion in both directions. A page's bytes converted to CP932 must be
// whole CP932 characters that survive the way back to UTF-8 and again to CP932
// unchanged; any bytes read as CP932 must give well-formed UTF-8.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "shopdata/TextConversion.h"

namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool IsWellFormedUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const size_t length = b < 0x80                 ? 1
                              : b >= 0xC2 && b <= 0xDF ? 2
                              : b >= 0xE0 && b <= 0xEF ? 3
                              : b >= 0xF0 && b <= 0xF4 ? 4
                                                       : 0;
        if (length == 0 || i + length > text.size()) return false;
        char32_t cp = length == 1 ? b : b & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = cp << 6 | (c & 0x3F);
        }
        const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[length] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return false;
        i += length;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view raw = FuzzBytes(data, size);

    std::string sjis = "left over";
    const bool converted = Utf8ToShiftJis(raw, sjis);
    FUZZ_CHECK(converted == !raw.empty());
    FUZZ_CHECK(sjis.size() <= raw.size());
    FUZZ_CHECK(sjis.find('\0') == std::string::npos);

    // Every byte of the result belongs to a CP932 character: nothing reads back
    // as U+FFFD (what the conversion could not hold became "?").
    const std::string back = ShiftJisToUtf8(sjis);
    FUZZ_CHECK(IsWellFormedUtf8(back));
    FUZZ_CHECK(back.find("\xEF\xBF\xBD") == std::string::npos);
    FUZZ_CHECK(ToShiftJis(back) == sjis);

    FUZZ_CHECK(IsWellFormedUtf8(ShiftJisToUtf8(raw)));
    return 0;
}
