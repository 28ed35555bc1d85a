#include "platform/SystemProxy.h"

#include <windows.h>
#include <winhttp.h>

#include "platform/windows/WideText.h"

namespace platform {

// The settings of "Internet Options", which WinINet's preconfigured access uses too.
SystemProxy SystemHttpProxy() {
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG settings = {};
    if (!WinHttpGetIEProxyConfigForCurrentUser(&settings)) return SystemProxy();
    const auto text = [](LPWSTR wide) { return wide != nullptr ? Narrow(wide) : std::string(); };
    SystemProxy proxy =
        FromInternetSettings(text(settings.lpszProxy), text(settings.lpszProxyBypass));
    for (LPWSTR owned : {settings.lpszAutoConfigUrl, settings.lpszProxy, settings.lpszProxyBypass})
        if (owned != nullptr) GlobalFree(owned);
    return proxy;
}

}  // namespace platform
