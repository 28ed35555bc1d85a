#pragma once
#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace portal {

// The two pages the portal serves; None for any other path or Act.
enum class PortalPage { None, City, Shop };

// What a request target asks the portal for. The account values are kept as they
// came on the wire; DecodeQueryValue gives what the portal compares.
struct RequestTarget {
    bool absoluteForm = false;  // "http://host:port/..." as a client sends it to a proxy
    std::string path;           // without scheme, host and query
    PortalPage page = PortalPage::None;
    std::optional<int> id;  // Tid of a city query, Cid of a shop query, when a number
    std::optional<std::string> hvid;
    std::optional<std::string> pass;
};

// Reads an origin-form ("/ovl/web/d?...") or absolute-form target. Query keys are
// matched exactly; a key given twice counts the first time.
RequestTarget ParseRequestTarget(std::string_view target);

// Decodes a query value as HTML forms encode it: "%XX" is the byte XX and "+" a
// space. A "%" without two hex digits after it stays as it is.
std::string DecodeQueryValue(std::string_view raw);

// Reads a decimal number, optionally signed, with nothing else around it.
template <typename Number = int>
std::optional<Number> ParseDecimal(std::string_view text) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

}  // namespace portal
