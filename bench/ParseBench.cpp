// The parse-only run of the download job over a generated working folder of 13
// city pages and 3,000 shop pages (about 90,000 products): the work of every
// start-up whose pages are already saved.
//
//   veradune-bench-parse [SHOPS] [RUNS]
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "PageGenerator.h"
#include "acquire/DownloadJob.h"
#include "acquire/JobReporter.h"

int main(int argc, char** argv) {
    const int shops = argc > 1 ? std::atoi(argv[1]) : 3000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "veradune-bench-parse" / "DownloadFiles";
    fs::remove_all(folder.parent_path());
    fs::create_directories(folder);

    const GeneratedPortal portal = GeneratePortal(7, shops, 30);
    if (!WritePortal(portal, folder.string())) {
        std::fprintf(stderr, "cannot write the pages to %s\n", folder.c_str());
        return 1;
    }
    std::uintmax_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(folder)) bytes += entry.file_size();

    double best = 1e9;
    size_t products = 0;
    for (int run = 0; run < runs; ++run) {
        SilentJobReporter reporter;
        const std::atomic<bool> cancel{false};
        DownloadJob job(folder.string(), DownloadSource{}, reporter, cancel);
        const auto start = std::chrono::steady_clock::now();
        const bool ok = job.Run().end == JobEnd::Ok;
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ok) {
            std::fprintf(stderr, "the parse-only run failed\n");
            return 1;
        }
        products = job.Products().size();
        best = std::min(best, seconds);
    }
    std::printf("parse-only run: %d shops, %zu products, %.1f MB of pages\n", shops, products,
                bytes / 1e6);
    std::printf("best of %d: %.1f ms  %.0f MB/s  %.0f products/s\n", runs, best * 1e3,
                bytes / 1e6 / best, products / best);
    fs::remove_all(folder.parent_path());
    return 0;
}
