#include "acquire/CityPageParser.h"

#include "acquire/MarkerFinder.h"
#include "platform/Files.h"
#include "shopdata/ShiftJisText.h"
#include "shopdata/TextConversion.h"

namespace {

constexpr size_t npos = std::string_view::npos;

constexpr std::string_view kLinkMarker = "javascript:Click_Sub( ";
constexpr std::string_view kIdEnd = " );\">";

}  // namespace

void ParseCityText(std::string_view sjisText, const std::string& cityName,
                   std::vector<CompanyEntry>& companies) {
    MarkerFinder links(sjisText, kLinkMarker);
    MarkerFinder idEnds(sjisText, kIdEnd);
    MarkerFinder tagOpens(sjisText, kTagOpen);
    size_t pos = 0;
    for (;;) {
        const size_t s = links.Find(pos);
        if (s == npos) return;
        // Searched from just past the link's start: the link marker's closing space
        // may double as the id marker's first byte, leaving an empty id.
        const size_t c = idEnds.Find(s + 1);
        if (c == npos) return;
        const size_t e = tagOpens.Find(c + kIdEnd.size());

        CompanyEntry& entry = companies.emplace_back();
        entry.companyId = AtoiReading(Between(sjisText, s + kLinkMarker.size(), c));
        if (e != npos) entry.companyName.assign(Between(sjisText, c + kIdEnd.size(), e));
        entry.cityName = cityName;
        pos = c;
    }
}

int ParseCityPage(const std::string& pagePath, const std::string& cityName,
                  std::vector<CompanyEntry>& companies) {
    std::string raw;
    if (!platform::ReadWholeFile(pagePath, raw)) return 0;
    std::string text;
    if (!Utf8ToShiftJis(raw, text) || text.empty()) return 0;
    ParseCityText(text, cityName, companies);
    return static_cast<int>(companies.size());
}
