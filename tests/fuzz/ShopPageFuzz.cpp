// Shop page parser: records before stay, the header is reported once (nothing for
// empty text), and no field holds a "<", untrimmed space or a gender mark.
#include <vector>

#include "FuzzSupport.h"
#include "acquire/ShopPageParser.h"
#include "shopdata/ShiftJisText.h"

namespace {

void ParseAndCheck(std::string_view text) {
    static const std::string male = ToShiftJis("♂"), female = ToShiftJis("♀");
    ProductRecord earlier;
    earlier.productName = "earlier";
    std::vector<ProductRecord> products{earlier};
    std::vector<std::string> reports;
    const bool read =
        ParseShopText(text, products, [&](const std::string& line) { reports.push_back(line); });
    FUZZ_CHECK(products.front() == earlier);
    FUZZ_CHECK(reports.size() == (text.empty() ? 0u : 1u));
    FUZZ_CHECK(read || products.size() == 1);
    for (size_t i = 1; i < products.size(); ++i) {
        const ProductRecord& r = products[i];
        FUZZ_CHECK(r.cityName + " : " + r.companyName == reports.front());
        for (const std::string* field : {&r.productName, &r.category, &r.companyName, &r.cityName})
            FUZZ_CHECK(field->find('<') == std::string::npos);
        FUZZ_CHECK(TrimAsciiSpace(r.productName) == r.productName);
        FUZZ_CHECK(!ShiftJisContains(r.productName, male) &&
                   !ShiftJisContains(r.productName, female));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    CheckConvertedAndRaw(FuzzBytes(data, size), ParseAndCheck);
    return 0;
}
