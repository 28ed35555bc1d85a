#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "portal/FaultRule.h"

namespace portal {

struct Credentials {
    std::string user;
    std::string password;
};

// How the server behaves, apart from where its pages come from.
struct PortalSettings {
    std::optional<Credentials> account;    // empty: every account is accepted
    std::optional<Credentials> proxyAuth;  // demanded of absolute-form requests
    int latencyMs = 0;                     // added before every answer
    std::vector<FaultRule> faults;         // the first that matches a request applies
};

// The command line of veradune-portal.
struct PortalOptions {
    int port = 8642;
    std::string dataDir;  // folder of saved pages; empty: generated pages
    std::uint64_t seed = 1;
    int shopCount = 40;
    int productsPerShop = 20;
    int day = 0;  // the generated portal this many days on
    PortalSettings settings;
    bool showHelp = false;
};

struct ParsedPortalOptions {
    std::optional<PortalOptions> options;  // empty on bad usage
    std::string error;                     // one line saying what was wrong
};

ParsedPortalOptions ParsePortalOptions(const std::vector<std::string>& arguments);

const char* PortalUsage();

}  // namespace portal
