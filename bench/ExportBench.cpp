// veradune-export over a generated working folder of 3,000 shops, timed beside
// `cat` reading the same saved pages: both run as programs from the shell, their
// output thrown away, several times in turn; the best of each and their ratio, and
// the processor time each took (on a shared machine the wall time varies with the
// load; the processor time much less). The goal: the export takes at most 1.5
// times as long as cat. The load average is shown, since other work on the machine
// slows the export's threads more than cat's one.
//
//   veradune-bench-export [SHOPS] [RUNS]
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "PageGenerator.h"

namespace {

constexpr double kGoalRatio = 1.5;

struct Timing {
    double wall = -1;  // seconds; negative when the command failed
    double processor = 0;
};

// The system's load average over the last minute, or -1 when it cannot be read.
double LoadAverage() {
    double load = -1;
    return ::getloadavg(&load, 1) == 1 ? load : -1;
}

// User and system seconds of the finished children so far.
double ChildrenProcessorSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

Timing TimeCommand(const std::string& command) {
    const double processorBefore = ChildrenProcessorSeconds();
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) return {};
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            ChildrenProcessorSeconds() - processorBefore};
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
    // The pages just written go to the disk first: written back while the runs are
    // timed, they would slow both by a varying amount.
    ::sync();
    const std::string folder = work.string();
    const std::string cat = "cat '" + folder + "'/DownloadFiles/* > /dev/null";
    const std::string exportCommand =
        "'" VERADUNE_EXPORT_PATH "' '" + folder + "' > /dev/null 2> /dev/null";

    const double loadBefore = LoadAverage();
    Timing bestCat{1e9, 1e9};
    Timing bestExport{1e9, 1e9};
    const auto keepBest = [](Timing& best, const Timing& run) {
        best.wall = std::min(best.wall, run.wall);
        best.processor = std::min(best.processor, run.processor);
    };
    for (int run = 0; run < runs; ++run) {
        const Timing catTiming = TimeCommand(cat);
        const Timing exportTiming = TimeCommand(exportCommand);
        if (catTiming.wall < 0 || exportTiming.wall < 0) {
            std::fprintf(stderr, "a run failed\n");
            return 1;
        }
        keepBest(bestCat, catTiming);
        keepBest(bestExport, exportTiming);
    }
    const double ratio = bestExport.wall / bestCat.wall;
    std::printf("%d shops, best of %d runs in turn, load average %.2f before and %.2f after\n",
                shops, runs, loadBefore, LoadAverage());
    std::printf("  cat              %6.1f ms, processor %6.1f ms\n", bestCat.wall * 1e3,
                bestCat.processor * 1e3);
    std::printf("  veradune-export  %6.1f ms, processor %6.1f ms\n", bestExport.wall * 1e3,
                bestExport.processor * 1e3);
    std::printf("verdict: the export takes %.2f times as long as cat (goal at most %.1f): %s\n",
                ratio, kGoalRatio, ratio <= kGoalRatio ? "met" : "MISSED");
    fs::remove_all(work);
    return 0;
}
