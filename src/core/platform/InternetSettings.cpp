#include <algorithm>
#include <vector>

#include "platform/SystemProxy.h"

namespace platform {

namespace {

// Both lists separate their entries by semicolons or white space.
std::vector<std::string_view> Entries(std::string_view list) {
    constexpr std::string_view separators = "; \t\r\n";
    std::vector<std::string_view> entries;
    size_t start = list.find_first_not_of(separators);
    while (start != std::string_view::npos) {
        const size_t end = std::min(list.find_first_of(separators, start), list.size());
        entries.push_back(list.substr(start, end - start));
        start = list.find_first_not_of(separators, end);
    }
    return entries;
}

// "10.*" or "192.168.*.*" as libcurl's "10.0.0.0/8" or "192.168.0.0/16"; empty for
// any other pattern.
std::string AddressRange(std::string_view pattern) {
    std::string_view prefix = pattern;
    while (prefix.ends_with(".*")) prefix.remove_suffix(2);
    const auto dots = std::count(prefix.begin(), prefix.end(), '.');
    if (prefix.size() == pattern.size() || prefix.empty() || dots > 2 ||
        prefix.find_first_not_of("0123456789.") != std::string_view::npos)
        return std::string();
    std::string range(prefix);
    for (auto octet = dots + 1; octet < 4; ++octet) range += ".0";
    return range + "/" + std::to_string(8 * (dots + 1));
}

// libcurl knows no wildcard inside a name and no <local> (names without a dot):
// those entries give nothing, and their hosts go through the proxy.
std::string BypassEntry(std::string_view entry) {
    if (entry == "*") return "*";
    // libcurl matches a name's subdomains anyway.
    if (entry.starts_with("*.")) entry.remove_prefix(1);
    if (entry.find_first_of("*<") == std::string_view::npos) return std::string(entry);
    return AddressRange(entry);
}

}  // namespace

SystemProxy FromInternetSettings(std::string_view proxyList, std::string_view bypassList) {
    std::string_view forHttp, forAll, socks;
    for (const std::string_view entry : Entries(proxyList)) {
        const size_t equals = entry.find('=');
        const std::string_view scheme = entry.substr(0, equals);
        if (equals == std::string_view::npos)
            forAll = entry;
        else if (scheme == "http")
            forHttp = entry.substr(equals + 1);
        else if (scheme == "socks")
            socks = entry.substr(equals + 1);
    }
    SystemProxy proxy;
    // A SOCKS server (version 4, all WinINet speaks) carries what has no proxy of its own.
    if (!forHttp.empty())
        proxy.server = forHttp;
    else if (!forAll.empty())
        proxy.server = forAll;
    else if (!socks.empty())
        proxy.server =
            (socks.find("://") == std::string_view::npos ? "socks4://" : "") + std::string(socks);
    if (proxy.server.empty()) return proxy;

    // Windows reaches this machine itself directly unless the list says <-loopback>.
    const auto bypass = [&proxy](std::string_view hosts) {
        if (hosts.empty()) return;
        if (!proxy.bypass.empty()) proxy.bypass += ',';
        proxy.bypass += hosts;
    };
    bool loopback = true;
    for (const std::string_view entry : Entries(bypassList)) {
        loopback = loopback && entry != "<-loopback>";
        bypass(BypassEntry(entry));
    }
    if (loopback) bypass("localhost,127.0.0.0/8,::1");
    return proxy;
}

}  // namespace platform
