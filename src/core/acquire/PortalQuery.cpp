#include "acquire/PortalQuery.h"

#include "shopdata/ShiftJisText.h"

namespace {

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

void AppendPercentEncoded(std::string& out, std::string_view value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsUnreserved(c)) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
}

}  // namespace

std::string CompanyListQuery(int cityId) {
    return "ovl/web/d?Act=company_search_sub_comlist&Tid=" + FormatInt(cityId);
}

std::string ShopPageQuery(int companyId) {
    return "ovl/web/d?Act=company_search_sub_display_dt&Cid=" + FormatInt(companyId);
}

std::string AccountSuffix(std::string_view portalId, std::string_view portalPassword) {
    std::string suffix = "&hvid=";
    AppendPercentEncoded(suffix, portalId);
    suffix += "&pass=";
    AppendPercentEncoded(suffix, portalPassword);
    return suffix;
}
