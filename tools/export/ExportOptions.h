#pragma once
#include <optional>
#include <string>
#include <vector>

#include "listview/TableWriter.h"

// The command line of veradune-export. Texts are as typed (UTF-8); the condition
// indices are those of the toolbar's condition boxes (-1 when not given).
struct ExportOptions {
    std::string workDir = ".";
    std::string nameText;
    std::string categoryText;
    std::string priceText;
    int priceCondition = -1;
    std::string stockText;
    int stockCondition = -1;
    bool cheapestOnly = false;
    // Only offers new or repriced since the previous download, with two columns
    // more: how each changed and its previous price.
    bool changesOnly = false;
    // Instead of the list, the recorded figures of the product of this name.
    std::optional<std::string> historyName;
    TableFormat format = TableFormat::Tsv;
    bool showHelp = false;
};

struct ParsedExportOptions {
    std::optional<ExportOptions> options;  // empty on bad usage
    std::string error;                     // one line saying what was wrong
};

ParsedExportOptions ParseExportOptions(const std::vector<std::string>& arguments);

const char* ExportUsage();
