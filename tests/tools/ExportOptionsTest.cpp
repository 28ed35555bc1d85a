#include "export/ExportOptions.h"

#include <gtest/gtest.h>

#include <sstream>

#include "export/TableWriter.h"

namespace {

TEST(ParseExportOptions, ReadsEveryOption) {
    const auto parsed = ParseExportOptions({"--name", "剣 鉄", "--category", "砲種", "--price",
                                            "1000", "--price-cond", "at-most", "--stock", "5",
                                            "--stock-cond", "equal", "--cheapest", "--format",
                                            "csv", "work"});
    ASSERT_TRUE(parsed.options);
    const ExportOptions& o = *parsed.options;
    EXPECT_EQ(o.nameText, "剣 鉄");
    EXPECT_EQ(o.categoryText, "砲種");
    EXPECT_EQ(o.priceText, "1000");
    EXPECT_EQ(o.priceCondition, 1);
    EXPECT_EQ(o.stockText, "5");
    EXPECT_EQ(o.stockCondition, 2);
    EXPECT_TRUE(o.cheapestOnly);
    EXPECT_EQ(o.format, TableFormat::Csv);
    EXPECT_EQ(o.workDir, "work");
}

TEST(ParseExportOptions, DefaultsAndHelp) {
    const auto parsed = ParseExportOptions({});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->workDir, ".");
    EXPECT_EQ(parsed.options->priceCondition, -1);
    EXPECT_EQ(parsed.options->format, TableFormat::Tsv);
    EXPECT_TRUE(ParseExportOptions({"--help"}).options->showHelp);
    EXPECT_EQ(ParseExportOptions({"--price-cond", "at-least"}).options->priceCondition, 0);
}

TEST(ParseExportOptions, RejectsBadUsage) {
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"},          {"--price-cond", "more"}, {"--stock-cond"}, {"--name"},
        {"--format", "xlsx"}, {"one", "two"},           {"-x"},
    };
    for (const auto& arguments : bad) {
        const auto parsed = ParseExportOptions(arguments);
        EXPECT_FALSE(parsed.options) << arguments[0];
        EXPECT_FALSE(parsed.error.empty());
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
    }
}

TEST(WriteTableLine, TsvFlattensAndCsvQuotes) {
    std::ostringstream tsv;
    WriteTableLine(tsv, {"a\tb", "c\nd", "1,000"}, TableFormat::Tsv);
    EXPECT_EQ(tsv.str(), "a b\tc d\t1,000\n");
    std::ostringstream csv;
    WriteTableLine(csv, {"plain", "1,000", "say \"hi\"", "two\nlines", ""}, TableFormat::Csv);
    EXPECT_EQ(csv.str(), "plain,\"1,000\",\"say \"\"hi\"\"\",\"two\nlines\",\r\n");
}

}  // namespace
