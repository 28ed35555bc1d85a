// CP932 conversion: a page becomes whole CP932 characters that survive the way to
// UTF-8 and back unchanged.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view raw = FuzzBytes(data, size);
    std::string sjis = "left over";
    FUZZ_CHECK(Utf8ToShiftJis(raw, sjis) == !raw.empty());
    FUZZ_CHECK(sjis.size() <= raw.size() && sjis.find('\0') == std::string::npos);
    // What CP932 could not hold became "?": nothing reads back as U+FFFD.
    const std::string back = ShiftJisToUtf8(sjis);
    FUZZ_CHECK(back.find("\xEF\xBF\xBD") == std::string::npos);
    FUZZ_CHECK(ToShiftJis(back) == sjis);
    // Any bytes read as CP932 give at most one BMP character, or U+FFFD, per byte.
    FUZZ_CHECK(ShiftJisToUtf8(raw).size() <= 3 * raw.size());
    return 0;
}
