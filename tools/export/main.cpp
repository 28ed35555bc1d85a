// veradune-export: the product list as the program would show it at start-up,
// written as a table for spreadsheets and scripts. Reads Config.xml and the saved
// pages of a working folder; writes nothing there.
#include <atomic>
#include <iostream>
#include <string>
#include <vector>

#include "acquire/DownloadJob.h"
#include "acquire/JobReporter.h"
#include "acquire/PagePaths.h"
#include "config/ConfigStore.h"
#include "export/ExportOptions.h"
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
                     "and the given inputs. Reads WORKDIR/Config.xml and WORKDIR/DownloadFiles.\n";
        return 0;
    }

    const std::string downloadFolder = platform::JoinPath(options.workDir, kDownloadFolder);
    if (!platform::IsDirectory(downloadFolder)) {
        std::cerr << "veradune-export: " << options.workDir
                  << " holds no DownloadFiles folder of saved pages\n";
        return 1;
    }
    ConfigStore config;
    config.Load(platform::JoinPath(options.workDir, kConfigFileName));

    // The list may add the name to the search history; the settings are never saved.
    ProductList list(config);
    list.SetProducts(LoadSavedProducts(downloadFolder));
    const FilterRun run = list.Filter(MakeFilterInputs(
        ToShiftJis(options.nameText), ToShiftJis(options.categoryText), options.priceText,
        options.priceCondition, options.stockText, options.stockCondition, options.cheapestOnly));

    if (!WriteProductTable(std::cout, list, options.format)) {
        std::cerr << "veradune-export: cannot write the table\n";
        return 1;
    }
    std::cerr << ShiftJisToUtf8(HitCountText(run.hits)) << '\n';
    return 0;
}
