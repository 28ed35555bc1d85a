#include <gtest/gtest.h>

#include <numeric>
#include <sstream>

#include "config/ConfigStore.h"
#include "listview/CellTexts.h"
#include "listview/ProductList.h"
#include "listview/TableWriter.h"
#include "shopdata/TextConversion.h"
#include "support/ProductBuilders.h"
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

// Rows enough for many pieces formatted apart: each comes out whole, in the order given.
TEST(TableWriter, ManyRowsComeOutInTheOrderGiven) {
    ConfigStore settings;
    ProductList list(settings);
    list.SetProducts(RandomProducts(20000, 5));
    list.Filter({});
    std::vector<size_t> rows(list.RowCount());
    std::iota(rows.rbegin(), rows.rend(), 0);
    std::string expected =
        "商品名\t種別\t在庫数\t販売価格\t攻撃力\t防御力\t耐久度\t商会名\t都市名\n";
    for (const size_t row : rows)
        for (int column = 0; column < kColumnCount; ++column)
            expected += ShiftJisToUtf8(list.CellText(row, column)) +
                        (column + 1 < kColumnCount ? "\t" : "\n");
    std::ostringstream out;
    EXPECT_TRUE(WriteProductRows(out, list, rows, TableFormat::Tsv));
    EXPECT_TRUE(out.str() == expected);
}

}  // namespace
