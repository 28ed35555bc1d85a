#include <gtest/gtest.h>

#include <sstream>

#include "listview/TableWriter.h"
#include "support/ShiftJisLiteral.h"

namespace {

TEST(TableWriter, QuotesEachFormatAndWritesUtf8) {
    const std::vector<std::string> cells = {
        S("ソードブレイカー"), "a,b",     "say \"hi\"", "tab\there",
        "two\r\nlines",        S("ﾊﾝｶｸ"), "",           "\x81"};
    const struct {
        TableFormat format;
        std::string line;
    } cases[] = {
        {TableFormat::Tsv,
         "ソードブレイカー\ta,b\tsay \"hi\"\ttab here\ttwo  lines\tﾊﾝｶｸ\t\t\xEF\xBF\xBD\n"},
        {TableFormat::Csv,
         "ソードブレイカー,\"a,b\",\"say \"\"hi\"\"\",tab\there,\"two\r\nlines\",ﾊﾝｶｸ,,"
         "\xEF\xBF\xBD\r\n"},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        TableWriter writer(out, c.format);
        for (const std::string& cell : cells) writer.ShiftJisCell(cell);
        writer.EndLine();
        writer.Utf8Cell("済,み");
        writer.EndLine();
        EXPECT_TRUE(writer.Flush());
        const std::string second = c.format == TableFormat::Tsv ? "済,み\n" : "\"済,み\"\r\n";
        EXPECT_EQ(out.str(), c.line + second);
    }
    std::ostringstream broken;
    broken.setstate(std::ios::badbit);
    TableWriter writer(broken, TableFormat::Tsv);
    writer.Utf8Cell("x");
    EXPECT_FALSE(writer.Flush()) << "a failed stream is reported";
}

}  // namespace
