// veradune-export over a generated working folder of 3,000 shops, timed beside
// `cat` reading the same saved pages: both run as programs from the shell, their
// output thrown away, several times in turn; the best of each and their ratio.
//
//   veradune-bench-export [SHOPS] [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "PageGenerator.h"

namespace {

// Seconds the shell command took; negative when it failed.
double TimeCommand(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int shops = argc > 1 ? std::atoi(argv[1]) : 3000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    namespace fs = std::filesystem;
    const fs::path work = fs::temp_directory_path() / "veradune-bench-export";
    fs::remove_all(work);
    fs::create_directories(work);
    if (!WritePortal(GeneratePortal(7, shops, 30), (work / "DownloadFiles").string())) {
        std::fprintf(stderr, "cannot write the pages to %s\n", work.c_str());
        return 1;
    }
    const std::string folder = work.string();
    const std::string cat = "cat '" + folder + "'/DownloadFiles/* > /dev/null";
    const std::string exportRun =
        "'" VERADUNE_EXPORT_PATH "' '" + folder + "' > /dev/null 2> /dev/null";

    double bestCat = 1e9;
    double bestExport = 1e9;
    for (int run = 0; run < runs; ++run) {
        const double catSeconds = TimeCommand(cat);
        const double exportSeconds = TimeCommand(exportRun);
        if (catSeconds < 0 || exportSeconds < 0) {
            std::fprintf(stderr, "a run failed\n");
            return 1;
        }
        bestCat = std::min(bestCat, catSeconds);
        bestExport = std::min(bestExport, exportSeconds);
    }
    std::printf("%d shops, best of %d: cat %.1f ms, veradune-export %.1f ms, ratio %.2f\n", shops,
                runs, bestCat * 1e3, bestExport * 1e3, bestExport / bestCat);
    fs::remove_all(work);
    return 0;
}
