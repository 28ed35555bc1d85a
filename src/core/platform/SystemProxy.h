#pragma once
#include <string>
#include <string_view>

// The proxy the user has set up for the whole system, used when the download
// settings name none of their own.
namespace platform {

// In libcurl's terms.
struct SystemProxy {
    std::string server;  // [scheme://]host[:port]; empty: connect directly
    std::string bypass;  // comma-separated hosts reached directly; "*" for all
};

// For plain HTTP: on POSIX systems http_proxy (the upper-case HTTP_PROXY is no
// such setting), else all_proxy, with no_proxy; on Windows the user's Internet
// settings. Automatic configuration scripts (PAC, WPAD) are not run.
SystemProxy SystemHttpProxy();

// Windows' Internet settings: `proxyList` as "host:port" or
// "http=host:port;https=host:port", `bypassList` as "*.example.com;10.*;<local>".
SystemProxy FromInternetSettings(std::string_view proxyList, std::string_view bypassList);

}  // namespace platform
