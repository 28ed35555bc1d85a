// veradune-export's command line: the input split into arguments at NUL bytes and
// line breaks. Options that were accepted must come back the same when written
// out as a canonical command line and parsed again.
#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "FuzzSupport.h"
#include "export/ExportOptions.h"

namespace {

std::vector<std::string> SplitArguments(std::string_view bytes) {
    std::vector<std::string> arguments;
    for (size_t start = 0; start < bytes.size() || (start == bytes.size() && start > 0);) {
        const size_t end = std::min(bytes.find('\0', start), bytes.find('\n', start));
        arguments.emplace_back(bytes.substr(start, end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return arguments;
}

constexpr const char* kConditionWords[] = {"at-least", "at-most", "equal"};

std::vector<std::string> CanonicalArguments(const ExportOptions& o) {
    std::vector<std::string> arguments = {
        "--name",     o.nameText,
        "--category", o.categoryText,
        "--price",    o.priceText,
        "--stock",    o.stockText,
        "--format",   o.format == TableFormat::Csv ? "csv" : "tsv"};
    if (o.priceCondition >= 0)
        arguments.insert(arguments.end(), {"--price-cond", kConditionWords[o.priceCondition]});
    if (o.stockCondition >= 0)
        arguments.insert(arguments.end(), {"--stock-cond", kConditionWords[o.stockCondition]});
    if (o.cheapestOnly) arguments.push_back("--cheapest");
    if (o.showHelp) arguments.push_back("--help");
    arguments.push_back(o.workDir);
    return arguments;
}

auto Fields(const ExportOptions& o) {
    return std::tie(o.workDir, o.nameText, o.categoryText, o.priceText, o.priceCondition,
                    o.stockText, o.stockCondition, o.cheapestOnly, o.format, o.showHelp);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const ParsedExportOptions parsed = ParseExportOptions(SplitArguments(FuzzBytes(data, size)));
    FUZZ_CHECK(parsed.options.has_value() == parsed.error.empty());
    if (!parsed.options) return 0;

    const ExportOptions& options = *parsed.options;
    FUZZ_CHECK(options.priceCondition >= -1 && options.priceCondition <= 2 &&
               options.stockCondition >= -1 && options.stockCondition <= 2);
    const ParsedExportOptions again = ParseExportOptions(CanonicalArguments(options));
    FUZZ_CHECK(again.options && Fields(*again.options) == Fields(options));
    return 0;
}
