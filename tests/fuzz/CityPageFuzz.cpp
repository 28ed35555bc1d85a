// City page parser: a downloaded page through the CP932 conversion and the link
// scan, and the raw bytes scanned as they are.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "acquire/CityPageParser.h"
#include "shopdata/TextConversion.h"

namespace {

void ParseAndCheck(std::string_view text) {
    static const std::string city = ToShiftJis("リスボン");
    // Entries of the cities parsed before must stay as they were.
    const CompanyEntry earlier{7, "earlier", "earlier city"};
    std::vector<CompanyEntry> companies{earlier};
    ParseCityText(text, city, companies);

    FUZZ_CHECK(companies.front() == earlier);
    for (size_t i = 1; i < companies.size(); ++i) {
        FUZZ_CHECK(companies[i].cityName == city);
        FUZZ_CHECK(companies[i].companyName.find('<') == std::string::npos);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    CheckConvertedAndRaw(FuzzBytes(data, size), ParseAndCheck);
    return 0;
}
