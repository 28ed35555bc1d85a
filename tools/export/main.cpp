// veradune-export: the product list as the program would show it at start-up,
// written as a table for spreadsheets and scripts. Reads Config.xml and the saved
// pages of a working folder, and its price history for the change marks and a
// product's figures; writes nothing there.
#include <atomic>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "acquire/DownloadJob.h"
#include "acquire/JobReporter.h"
#include "acquire/PagePaths.h"
#include "config/ConfigStore.h"
#include "config/WorkingFolder.h"
#include "export/ExportOptions.h"
#include "export/ExportTables.h"
#include "history/PriceHistory.h"
#include "listview/ProductList.h"
#include "listview/StatusTexts.h"
#include "listview/TableWriter.h"
#include "platform/CommandLine.h"
#include "platform/Files.h"
#include "shopdata/TextConversion.h"

namespace {

std::vector<ProductRecord> LoadSavedProducts(const std::string& downloadFolder) {
    SilentJobReporter reporter;
    const std::atomic<bool> neverCancelled{false};
    DownloadJob job(downloadFolder, DownloadSource{}, reporter, neverCancelled);
    if (job.Run().end != JobEnd::Ok) return {};
    return std::move(job.Products());
}

// The history of the working folder, read only; none (and no complaint) when
// there is no history yet. False, with the complaint written, when it cannot be read.
bool OpenHistory(const WorkingFolder& folder, std::optional<PriceHistory>& history) {
    HistoryOpening opening = PriceHistory::OpenForReading(folder.HistoryPath());
    if (!opening.history && !opening.failureReason.empty()) {
        std::cerr << "veradune-export: cannot read " << folder.HistoryPath() << ": "
                  << opening.failureReason << '\n';
        return false;
    }
    history = std::move(opening.history);
    return true;
}

int ExportHistory(const ExportOptions& options, const WorkingFolder& folder) {
    if (!platform::IsDirectory(folder.Root())) {
        std::cerr << "veradune-export: " << folder.Root() << " is no folder\n";
        return 1;
    }
    std::optional<PriceHistory> history;
    if (!OpenHistory(folder, history)) return 1;
    ConfigStore config;
    config.Load(folder.ConfigPath());
    std::vector<HistoryPoint> points;
    if (history) {
        std::string reason;
        points =
            history->ProductHistory(ToShiftJis(*options.historyName), config.cityEnabled, &reason);
        if (!reason.empty()) {
            std::cerr << "veradune-export: cannot read the history: " << reason << '\n';
            return 1;
        }
    }
    if (!WriteHistoryTable(std::cout, points, options.format)) {
        std::cerr << "veradune-export: cannot write the table\n";
        return 1;
    }
    return 0;
}

int ExportList(const ExportOptions& options, const WorkingFolder& folder) {
    const std::string downloadFolder = folder.DownloadFolder();
    if (!platform::IsDirectory(downloadFolder)) {
        std::cerr << "veradune-export: " << options.workDir
                  << " holds no DownloadFiles folder of saved pages\n";
        return 1;
    }
    std::optional<PriceHistory> history;
    if (options.changesOnly && !OpenHistory(folder, history)) return 1;
    ConfigStore config;
    config.Load(folder.ConfigPath());

    std::vector<ProductRecord> products = LoadSavedProducts(downloadFolder);
    std::string reason;
    if (history && !history->MarkChanges(products, &reason)) {
        std::cerr << "veradune-export: cannot read the history: " << reason << '\n';
        return 1;
    }
    // The list may add the name to the search history; the settings are never saved.
    ProductList list(config);
    list.SetProducts(std::move(products));
    const FilterRun run = list.Filter(
        MakeFilterInputs(ToShiftJis(options.nameText), ToShiftJis(options.categoryText),
                         options.priceText, options.priceCondition, options.stockText,
                         options.stockCondition, options.cheapestOnly, options.changesOnly));

    const bool written = options.changesOnly ? WriteChangeTable(std::cout, list, options.format)
                                             : WriteProductTable(std::cout, list, options.format);
    if (!written) {
        std::cerr << "veradune-export: cannot write the table\n";
        return 1;
    }
    std::cerr << ShiftJisToUtf8(HitCountText(run.hits)) << '\n';
    // Ends here, the list still whole: freeing its records one by one would cost
    // milliseconds of an export that has nothing left to do. Exit flushes the streams.
    std::exit(0);
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    platform::PrepareStandardStreams();
    const ParsedExportOptions parsed = ParseExportOptions(platform::Utf8Arguments(argc, argv));
    if (!parsed.options) {
        std::cerr << "veradune-export: " << parsed.error << "; " << ExportUsage() << '\n';
        return 2;
    }
    const ExportOptions& options = *parsed.options;
    if (options.showHelp) {
        std::cout << ExportUsage() << "\n\n"
                  << "Writes the product list of WORKDIR (default: the current folder) as the\n"
                     "program shows it: sorted by the saved column, filtered by the saved cities\n"
                     "and the given inputs. Reads WORKDIR/Config.xml and WORKDIR/DownloadFiles.\n"
                     "--changes keeps the offers new or repriced since the previous download and\n"
                     "adds how each changed and its previous price; --history NAME writes instead\n"
                     "the recorded figures of that product in the saved cities, one line per\n"
                     "download. Both read WORKDIR/History.sqlite.\n";
        return 0;
    }
    const WorkingFolder folder(options.workDir);
    return options.historyName ? ExportHistory(options, folder) : ExportList(options, folder);
}
