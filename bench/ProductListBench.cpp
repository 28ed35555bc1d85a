// The product list at the scale of a busy server: the start-up from saved pages
// (settings, parse, sort, filter, first paint) twice, first without a price
// history, which the start records, then with one whose latest download changed
// 5 % of the offers; a filter run that shows every row, header clicks and the
// cheapest-only switch; the peak memory of each start.
//
//   veradune-pagegen --seed 1 --shops 5000 --products 200 FOLDER   (about 1,000,000 products)
//   veradune-bench-list FOLDER [RUNS]

#include <malloc.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/VeraduneApp.h"
#include "config/WorkingFolder.h"
#include "history/PriceHistory.h"
#include "listview/CVeraduneView.h"
#include "listview/ProductListCtrl.h"
#include "mainframe/CMainFrame.h"
#include "platform/Clock.h"

namespace {

double Milliseconds(const std::function<void()>& body) {
    const auto start = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

void Report(const char* what, double best, double goal) {
    std::printf("%-40s best %8.1f ms", what, best);
    if (goal > 0) std::printf("  goal %5.0f ms %s", goal, best <= goal ? "met" : "MISSED");
    std::printf("\n");
}

// Repeats `body` and reports its best time; every run ends with the list painted.
void Measure(const char* what, int runs, double goal, ProductListCtrl& list,
             const std::function<void()>& body) {
    double best = 1e12;
    for (int run = 0; run < runs; ++run)
        best = std::min(best, Milliseconds([&] {
                            body();
                            list.viewport()->grab();
                        }));
    Report(what, best, goal);
}

// The peak resident memory in MB as the kernel reports it, or -1 where it does not.
double PeakMemoryMb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return -1;
}

// Starts the peak over from the memory in use now, with the freed memory that
// the allocator still held handed back first.
void ResetPeakMemory() {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

void RemoveHistory(const WorkingFolder& folder) {
    for (const char* suffix : {"", "-wal", "-shm"})
        std::filesystem::remove(folder.HistoryPath() + suffix);
}

// Records two more downloads after the start's own record of the saved pages: one
// in which every twentieth offer had another price, then the saved pages again.
bool RecordTwoDownloads(const WorkingFolder& folder, std::vector<ProductRecord> offers) {
    HistoryOpening opening = PriceHistory::Open(folder.HistoryPath());
    if (!opening.history) return false;
    const std::vector<ProductRecord> saved = offers;
    for (size_t i = 0; i < offers.size(); i += 20) offers[i].price += i % 40 == 0 ? 1 : -1;
    return opening.history->Record(offers, "2024/01/02 00:00:00") &&
           opening.history->Record(saved, "2024/01/03 00:00:00");
}

// The program's start until the list is painted.
double StartUp(const WorkingFolder& folder, const Clock& clock,
               std::unique_ptr<CMainFrame>& frame) {
    return Milliseconds([&] {
        frame = InitInstance({folder, "127.0.0.1:1", &clock});
        if (frame) frame->grab();
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: veradune-bench-list FOLDER [RUNS]\n");
        return 2;
    }
    const WorkingFolder folder(argv[1]);
    std::filesystem::remove(folder.ConfigPath());
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const SystemClock clock;
    RemoveHistory(folder);
    std::unique_ptr<CMainFrame> frame;
    const double firstStart = StartUp(folder, clock, frame);
    if (!frame || frame->View().Products().Products().empty()) {
        std::fprintf(stderr, "no saved pages in %s\n", argv[1]);
        return 1;
    }
    std::printf("%zu products\n", frame->View().Products().Products().size());
    Report("start-up, no history yet", firstStart, 3000);
    // The saved pages are recorded behind the list; the history's windows wait.
    const QAction& history = *frame->findChild<QAction*>(QStringLiteral("priceHistoryAction"));
    const double recorded = firstStart + Milliseconds([&] {
                                while (!history.isEnabled())
                                    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
                            });
    Report("  ... until the history is recorded", recorded, 0);
    std::printf("peak memory of that start %.0f MB (goal 600 MB)\n", PeakMemoryMb());
    // The list's table is sorted stably by city, so each shop's duplicates keep
    // their order and record as the pages list them.
    std::vector<ProductRecord> offers = frame->View().Products().Products();
    frame->close();
    frame.reset();
    if (!RecordTwoDownloads(folder, std::move(offers))) {
        std::fprintf(stderr, "cannot record into %s\n", folder.HistoryPath().c_str());
        return 1;
    }
    std::filesystem::remove(folder.ConfigPath());
    ResetPeakMemory();

    const double startUp = StartUp(folder, clock, frame);
    auto& list = *frame->findChild<ProductListCtrl*>(QStringLiteral("productList"));
    Report("start-up, history with 5 % changed", startUp, 3000);

    QAction& startFilter = *frame->findChild<QAction*>(QStringLiteral("startFilterAction"));
    Measure("filter showing every row", runs, 300, list, [&] { startFilter.trigger(); });
    // What a click on a header sends.
    const auto click = [&](int column) { emit list.horizontalHeader()->sectionClicked(column); };
    Measure("header click: price (number)", runs, 500, list, [&] { click(kColumnPrice); });
    Measure("header click: product name (text)", runs, 500, list,
            [&] { click(kColumnProductName); });
    Measure("header click: city (text)", runs, 500, list, [&] { click(kColumnCityName); });
    QAction& cheapest = *frame->findChild<QAction*>(QStringLiteral("cheapestOnlyAction"));
    Measure("cheapest-only on and off", runs, 0, list, [&] {
        cheapest.trigger();
        cheapest.trigger();
    });
    std::printf("peak memory of that start and the commands %.0f MB (goal 600 MB)\n",
                PeakMemoryMb());
    frame->close();
    std::filesystem::remove(folder.ConfigPath());
    return 0;
}
