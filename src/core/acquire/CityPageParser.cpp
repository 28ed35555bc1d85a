#include "acquire/CityPageParser.h"

#include <algorithm>
#include <cstring>

#include "acquire/MarkerFinder.h"
#include "acquire/PlainFind.h"
#include "platform/Files.h"
#include "shopdata/ShiftJisText.h"
#include "shopdata/TextConversion.h"

namespace {

constexpr size_t npos = std::string_view::npos;

constexpr std::string_view kLinkMarker = "javascript:Click_Sub( ";
constexpr std::string_view kIdEnd = " );\">";

// The company links of `text`, searched with `find`; `field` gives the Shift-JIS
// text of what lies between two markers.
template <class Field>
void ParseLinks(std::string_view text, FindFunction find, const std::string& cityName,
                std::vector<CompanyEntry>& companies, Field field) {
    MarkerFinder links(text, kLinkMarker, find);
    MarkerFinder idEnds(text, kIdEnd, find);
    MarkerFinder tagOpens(text, kTagOpen, find);
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
        entry.companyId = AtoiReading(field(Between(text, s + kLinkMarker.size(), c)));
        if (e != npos) entry.companyName.assign(field(Between(text, c + kIdEnd.size(), e)));
        entry.cityName = cityName;
        pos = c;
    }
}

}  // namespace

void ParseCityText(std::string_view sjisText, const std::string& cityName,
                   std::vector<CompanyEntry>& companies) {
    ParseLinks(sjisText, ShiftJisFind, cityName, companies,
               [](std::string_view text) { return text; });
}

int ParseCityPage(const std::string& pagePath, const std::string& cityName,
                  std::vector<CompanyEntry>& companies) {
    std::string raw;
    if (!platform::ReadWholeFile(pagePath, raw)) return 0;
    // Read as its conversion would be, converting only the fields: the markers are
    // ASCII without "\", "~" or "?", the only ASCII other characters convert to, and
    // what lies between two ASCII bytes converts the same alone. The conversion
    // would end the text at its first NUL.
    const std::string_view text(raw.data(), std::min(raw.size(), std::strlen(raw.c_str())));
    if (text.empty()) return 0;
    std::string converted;
    ParseLinks(text, PlainFind, cityName, companies,
               [&](std::string_view field) { return Utf8FieldAsShiftJis(field, converted); });
    return static_cast<int>(companies.size());
}
