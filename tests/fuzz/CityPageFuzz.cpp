// City page parser: entries before stay, every new one carries the city and a
// name cut before any "<".
#include "FuzzSupport.h"
#include "acquire/CityPageParser.h"

namespace {

void ParseAndCheck(std::string_view text) {
    const CompanyEntry earlier{7, "earlier", "earlier city"};
    std::vector<CompanyEntry> companies{earlier};
    ParseCityText(text, "city", companies);
    FUZZ_CHECK(companies.front() == earlier);
    for (size_t i = 1; i < companies.size(); ++i)
        FUZZ_CHECK(companies[i].cityName == "city" &&
                   companies[i].companyName.find('<') == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    CheckConvertedAndRaw(FuzzBytes(data, size), ParseAndCheck);
    return 0;
}
