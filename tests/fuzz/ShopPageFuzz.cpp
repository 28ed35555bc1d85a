// Shop page parser: a downloaded page goes through the CP932 conversion and the
// marker scan; the raw bytes are scanned too, as text the conversion never yields
// (lone lead bytes, bytes that are no character).
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "acquire/ShopPageParser.h"
#include "shopdata/ShiftJisText.h"
#include "shopdata/TextConversion.h"

namespace {

// Cut up to the next "<", so no text field may hold one.
bool HoldsTagOpen(const std::string& text) {
    return text.find('<') != std::string::npos;
}

void ParseAndCheck(std::string_view text) {
    static const std::string male = ToShiftJis("♂");
    static const std::string female = ToShiftJis("♀");
    // Records appended before must stay as they were.
    ProductRecord earlier;
    earlier.productName = "earlier";
    std::vector<ProductRecord> products{earlier};
    std::vector<std::string> reports;
    const bool read =
        ParseShopText(text, products, [&](const std::string& line) { reports.push_back(line); });

    FUZZ_CHECK(!products.empty() && products.front() == earlier);
    if (text.empty()) FUZZ_CHECK(!read && reports.empty());
    if (!read) {
        FUZZ_CHECK(products.size() == 1);
        FUZZ_CHECK(reports.size() == (text.empty() ? 0u : 1u));
        return;
    }
    FUZZ_CHECK(reports.size() == 1);
    for (size_t i = 1; i < products.size(); ++i) {
        const ProductRecord& record = products[i];
        FUZZ_CHECK(record.cityName + " : " + record.companyName == reports.front());
        FUZZ_CHECK(!HoldsTagOpen(record.productName) && !HoldsTagOpen(record.category) &&
                   !HoldsTagOpen(record.companyName) && !HoldsTagOpen(record.cityName));
        FUZZ_CHECK(TrimAsciiSpace(record.productName) == record.productName);
        FUZZ_CHECK(!ShiftJisContains(record.productName, male) &&
                   !ShiftJisContains(record.productName, female));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    CheckConvertedAndRaw(FuzzBytes(data, size), ParseAndCheck);
    return 0;
}
