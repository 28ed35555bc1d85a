// veradune-pagegen: writes a made-up portal's city and shop pages as the download
// job saves them, plus the product table a correct parse must give.

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "PageGenerator.h"
#include "acquire/PagePaths.h"
#include "platform/Files.h"

namespace {

constexpr char kUsage[] =
    "usage: veradune-pagegen --seed N --shops N [--products N] [--day N] OUTDIR\n"
    "  Writes OUTDIR/DownloadFiles/CityNo*.html and ShopNo*.html and OUTDIR/truth.tsv.\n"
    "  --shops is at most 100000; --products, the average number of products per shop,\n"
    "  at most 10000 (default 30). --day N (at most 3650, default 0) writes the same\n"
    "  world N days later, and OUTDIR/changes.tsv: what changed since day N-1.\n";

struct Options {
    std::uint64_t seed = 0;
    int shops = -1;
    int products = 30;
    int day = 0;
    std::string outDir;
};

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool ParseOptions(int argc, char** argv, Options& options) {
    bool seedGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--seed" && hasValue) {
            if (!ParseNumber(argv[++i], options.seed)) return false;
            seedGiven = true;
        } else if (arg == "--shops" && hasValue) {
            if (!ParseNumber(argv[++i], options.shops) || options.shops < 0 ||
                options.shops > kMaxGeneratedShops)
                return false;
        } else if (arg == "--products" && hasValue) {
            if (!ParseNumber(argv[++i], options.products) || options.products < 0 ||
                options.products > kMaxProductsPerShop)
                return false;
        } else if (arg == "--day" && hasValue) {
            if (!ParseNumber(argv[++i], options.day) || options.day < 0 ||
                options.day > kMaxGeneratedDay)
                return false;
        } else if (!arg.starts_with("--") && options.outDir.empty()) {
            options.outDir = arg;
        } else {
            return false;
        }
    }
    return seedGiven && options.shops >= 0 && !options.outDir.empty();
}

bool EnsureDirectory(const std::string& path) {
    if (platform::IsDirectory(path) || platform::CreateDirectory(path)) return true;
    std::fprintf(stderr, "veradune-pagegen: cannot create the folder %s\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string downloadFolder = platform::JoinPath(options.outDir, kDownloadFolder);
    if (!EnsureDirectory(options.outDir) || !EnsureDirectory(downloadFolder)) return 1;

    const GeneratedPortal portal =
        GeneratePortal(options.seed, options.shops, options.products, options.day);
    if (!WritePortal(portal, downloadFolder)) {
        std::fprintf(stderr, "veradune-pagegen: cannot write the pages into %s\n",
                     downloadFolder.c_str());
        return 1;
    }
    const std::string truthPath = platform::JoinPath(options.outDir, "truth.tsv");
    if (!platform::WriteFileAtomically(truthPath, TruthTable(portal))) {
        std::fprintf(stderr, "veradune-pagegen: cannot write %s\n", truthPath.c_str());
        return 1;
    }
    const std::string changesPath = platform::JoinPath(options.outDir, "changes.tsv");
    if (options.day > 0 && !platform::WriteFileAtomically(changesPath, ChangesTable(portal))) {
        std::fprintf(stderr, "veradune-pagegen: cannot write %s\n", changesPath.c_str());
        return 1;
    }
    size_t productCount = 0;
    for (const GeneratedShop& shop : portal.shops) productCount += shop.truth.size();
    std::printf("%d city pages, %zu shop pages, %zu products in %s\n", kCityCount,
                portal.shops.size(), productCount, options.outDir.c_str());
    return 0;
}
