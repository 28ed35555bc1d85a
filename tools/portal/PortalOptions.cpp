#include "portal/PortalOptions.h"

#include "pagegen/PageGenerator.h"

namespace portal {

namespace {

std::optional<int> NumberIn(const std::string& text, int lowest, int highest) {
    const std::optional<int> value = ParseDecimal(text);
    if (!value || *value < lowest || *value > highest) return std::nullopt;
    return value;
}

// "USER:PASS": the first ":" separates, so a password may contain more.
std::optional<Credentials> SplitCredentials(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos) return std::nullopt;
    return Credentials{text.substr(0, colon), text.substr(colon + 1)};
}

}  // namespace

const char* PortalUsage() {
    return "usage: veradune-portal [--port N] [--data DIR | --seed N --shops N [--products N] "
           "[--day N]] "
           "[--account ID:PASS] [--proxy-auth USER:PASS] [--latency MS] [--fault "
           "KIND[:ID,ID...]]... "
           "[--help]";
}

ParsedPortalOptions ParsePortalOptions(const std::vector<std::string>& arguments) {
    PortalOptions options;
    bool generatorGiven = false;
    auto fail = [](std::string error) {
        return ParsedPortalOptions{std::nullopt, std::move(error)};
    };
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.showHelp = true;
            continue;
        }
        if (!argument.starts_with("--")) return fail("unexpected argument " + argument);
        if (i + 1 >= arguments.size()) return fail("missing value for " + argument);
        const std::string& value = arguments[++i];
        auto badValue = [&] { return fail("bad value '" + value + "' for " + argument); };
        if (argument == "--port") {
            const std::optional<int> port = NumberIn(value, 0, 65535);
            if (!port) return badValue();
            options.port = *port;
        } else if (argument == "--data") {
            if (value.empty()) return badValue();
            options.dataDir = value;
        } else if (argument == "--seed") {
            const std::optional<std::uint64_t> seed = ParseDecimal<std::uint64_t>(value);
            if (!seed) return badValue();
            options.seed = *seed;
            generatorGiven = true;
        } else if (argument == "--shops" || argument == "--products") {
            const std::optional<int> count = NumberIn(value, 1, 100000);
            if (!count) return badValue();
            (argument == "--shops" ? options.shopCount : options.productsPerShop) = *count;
            generatorGiven = true;
        } else if (argument == "--day") {
            const std::optional<int> day = NumberIn(value, 0, kMaxGeneratedDay);
            if (!day) return badValue();
            options.day = *day;
            generatorGiven = true;
        } else if (argument == "--account" || argument == "--proxy-auth") {
            const std::optional<Credentials> credentials = SplitCredentials(value);
            if (!credentials) return fail(argument + " needs USER:PASS");
            (argument == "--account" ? options.settings.account : options.settings.proxyAuth) =
                credentials;
        } else if (argument == "--latency") {
            const std::optional<int> latency = NumberIn(value, 0, 600000);
            if (!latency) return badValue();
            options.settings.latencyMs = *latency;
        } else if (argument == "--fault") {
            std::string error;
            std::optional<FaultRule> rule = ParseFaultRule(value, error);
            if (!rule) return fail(error);
            options.settings.faults.push_back(std::move(*rule));
        } else {
            return fail("unknown option " + argument);
        }
    }
    if (generatorGiven && !options.dataDir.empty()) {
        return fail("--data cannot be combined with --seed, --shops, --products or --day");
    }
    return ParsedPortalOptions{options, {}};
}

}  // namespace portal
