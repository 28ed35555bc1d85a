#pragma once
#include <string>

// How the fetcher reaches the network: the proxy settings of the settings store.
struct ConnectionSettings {
    bool proxyEnabled = false;
    std::string proxyServer;
    // 0 leaves the port to the proxy server text (or the proxy default); only the
    // low 16 bits are used.
    int proxyPort = 0;
    std::string proxyUser;
    std::string proxyPassword;

    bool operator==(const ConnectionSettings&) const = default;
};
