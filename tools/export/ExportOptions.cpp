#include "export/ExportOptions.h"

#include "listview/FilterRules.h"

namespace {

// Condition words in the order of the toolbar's condition boxes.
int ConditionIndex(const std::string& word) {
    if (word == "at-least") return static_cast<int>(Condition::AtLeast);
    if (word == "at-most") return static_cast<int>(Condition::AtMost);
    if (word == "equal") return static_cast<int>(Condition::Equal);
    return static_cast<int>(Condition::None);
}

}  // namespace

const char* ExportUsage() {
    return "usage: veradune-export [--name TEXT] [--category TEXT] [--price TEXT --price-cond "
           "at-least|at-most|equal] [--stock TEXT --stock-cond at-least|at-most|equal] "
           "[--cheapest] [--changes] [--history NAME] [--format tsv|csv] [--help] [WORKDIR]";
}

ParsedExportOptions ParseExportOptions(const std::vector<std::string>& arguments) {
    ExportOptions options;
    bool workDirGiven = false;
    auto fail = [](std::string error) {
        return ParsedExportOptions{std::nullopt, std::move(error)};
    };
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.showHelp = true;
            continue;
        }
        if (argument == "--cheapest" || argument == "--changes") {
            (argument == "--cheapest" ? options.cheapestOnly : options.changesOnly) = true;
            continue;
        }
        if (argument.size() > 1 && argument[0] == '-') {
            if (i + 1 >= arguments.size()) return fail("missing value for " + argument);
            const std::string& value = arguments[++i];
            if (argument == "--name") {
                options.nameText = value;
            } else if (argument == "--category") {
                options.categoryText = value;
            } else if (argument == "--price") {
                options.priceText = value;
            } else if (argument == "--stock") {
                options.stockText = value;
            } else if (argument == "--price-cond" || argument == "--stock-cond") {
                const int index = ConditionIndex(value);
                if (index < 0) return fail("unknown condition '" + value + "' for " + argument);
                (argument == "--price-cond" ? options.priceCondition : options.stockCondition) =
                    index;
            } else if (argument == "--history") {
                options.historyName = value;
            } else if (argument == "--format") {
                if (value == "tsv")
                    options.format = TableFormat::Tsv;
                else if (value == "csv")
                    options.format = TableFormat::Csv;
                else
                    return fail("unknown format '" + value + "'");
            } else {
                return fail("unknown option " + argument);
            }
            continue;
        }
        if (workDirGiven) return fail("more than one WORKDIR: " + argument);
        options.workDir = argument;
        workDirGiven = true;
    }
    // A product's history is no list: nothing of the list's may go with it.
    const bool listInputs = !options.nameText.empty() || !options.categoryText.empty() ||
                            !options.priceText.empty() || options.priceCondition >= 0 ||
                            !options.stockText.empty() || options.stockCondition >= 0 ||
                            options.cheapestOnly || options.changesOnly;
    if (options.historyName && listInputs)
        return fail("--history takes no filter, --cheapest or --changes");
    return ParsedExportOptions{options, {}};
}
