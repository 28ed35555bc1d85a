#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "portal/PageSource.h"
#include "portal/PortalOptions.h"
#include "portal/PortalServer.h"
#include "portal/StopSignals.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const portal::ParsedPortalOptions parsed = portal::ParsePortalOptions(arguments);
    if (!parsed.options) {
        std::fprintf(stderr, "veradune-portal: %s\n%s\n", parsed.error.c_str(),
                     portal::PortalUsage());
        return 2;
    }
    const portal::PortalOptions& options = *parsed.options;
    if (options.showHelp) {
        std::printf("%s\n", portal::PortalUsage());
        return 0;
    }

    std::shared_ptr<const portal::PageSource> pages;
    if (!options.dataDir.empty()) {
        if (!platform::IsDirectory(options.dataDir)) {
            std::fprintf(stderr, "veradune-portal: no folder %s\n%s\n", options.dataDir.c_str(),
                         portal::PortalUsage());
            return 2;
        }
        pages = std::make_shared<portal::FolderPageSource>(options.dataDir);
    } else {
        pages = portal::MakeGeneratedPageSource(options.seed, options.shopCount,
                                                options.productsPerShop, options.day);
    }

    portal::BlockStopSignals();
    portal::PortalServer server(pages, options.settings);
    if (!server.Start(options.port)) {
        std::fprintf(stderr, "veradune-portal: cannot listen on 127.0.0.1:%d\n", options.port);
        return 1;
    }
    std::printf("veradune-portal listening on %s\n", server.Url().c_str());
    std::fflush(stdout);

    const int signal = portal::WaitForStopSignal();
    server.Stop();
    std::printf("veradune-portal stopped (signal %d)\n", signal);
    return 0;
}
