#include <gtest/gtest.h>

#include "platform/SystemProxy.h"

namespace {

// Windows' proxy settings in libcurl's terms: the server for plain HTTP, the
// bypass list with the loopback Windows never sends through a proxy unasked.
TEST(SystemProxy, ReadsWindowsInternetSettings) {
    const std::string loopback = "localhost,127.0.0.0/8,::1";
    const struct {
        std::string proxyList, bypassList, server, bypass;
    } cases[] = {{"proxy.example:8080", "", "proxy.example:8080", loopback},
                 {"ftp=f:21;http=http://h:80 https=s:443", "<-loopback>", "http://h:80", ""},
                 {"socks=s:1080", "*.corp.example; 10.*\t192.168.1.*;<local>;web*;<-loopback>",
                  "socks4://s:1080", ".corp.example,10.0.0.0/8,192.168.1.0/24"},
                 {"https=s:443", "*", "", ""},
                 {"all:3128", "portal.example;*", "all:3128", "portal.example,*," + loopback}};
    for (const auto& c : cases) {
        const platform::SystemProxy proxy =
            platform::FromInternetSettings(c.proxyList, c.bypassList);
        EXPECT_EQ(proxy.server, c.server) << c.proxyList;
        EXPECT_EQ(proxy.bypass, c.bypass) << c.bypassList;
    }
}

}  // namespace
