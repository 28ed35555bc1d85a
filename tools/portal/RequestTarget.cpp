#include "portal/RequestTarget.h"

namespace portal {

namespace {

constexpr std::string_view kPortalPath = "/ovl/web/d";
constexpr std::string_view kCityAct = "company_search_sub_comlist";
constexpr std::string_view kShopAct = "company_search_sub_display_dt";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The raw value of the first `key=` in the query; a key without "=" has an empty value.
std::optional<std::string> QueryValue(std::string_view query, std::string_view key) {
    while (!query.empty()) {
        const size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        const size_t equals = pair.find('=');
        if (pair.substr(0, equals) == key) {
            return std::string(equals == std::string_view::npos ? std::string_view()
                                                                : pair.substr(equals + 1));
        }
        if (amp == std::string_view::npos) break;
        query.remove_prefix(amp + 1);
    }
    return std::nullopt;
}

}  // namespace

std::string DecodeQueryValue(std::string_view raw) {
    std::string decoded;
    decoded.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '+') {
            decoded += ' ';
        } else if (raw[i] == '%' && i + 2 < raw.size() && HexValue(raw[i + 1]) >= 0 &&
                   HexValue(raw[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(raw[i + 1]) * 16 + HexValue(raw[i + 2]));
            i += 2;
        } else {
            decoded += raw[i];
        }
    }
    return decoded;
}

RequestTarget ParseRequestTarget(std::string_view target) {
    RequestTarget result;
    if (!target.starts_with('/')) {
        const size_t scheme = target.find("://");
        if (scheme != std::string_view::npos) {
            result.absoluteForm = true;
            const size_t pathStart = target.find_first_of("/?", scheme + 3);
            target =
                pathStart == std::string_view::npos ? std::string_view() : target.substr(pathStart);
        }
    }
    const size_t question = target.find('?');
    const std::string_view path = target.substr(0, question);
    result.path = path.empty() ? std::string("/") : std::string(path);
    if (result.path != kPortalPath || question == std::string_view::npos) return result;

    std::string_view query = target.substr(question + 1);
    query = query.substr(0, query.find('#'));
    const std::optional<std::string> act = QueryValue(query, "Act");
    std::optional<std::string> idText;
    if (act == kCityAct) {
        result.page = PortalPage::City;
        idText = QueryValue(query, "Tid");
    } else if (act == kShopAct) {
        result.page = PortalPage::Shop;
        idText = QueryValue(query, "Cid");
    }
    if (idText) result.id = ParseDecimal(*idText);
    result.hvid = QueryValue(query, "hvid");
    result.pass = QueryValue(query, "pass");
    return result;
}

}  // namespace portal
