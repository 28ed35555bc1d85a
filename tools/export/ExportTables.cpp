#include "export/ExportTables.h"

#include <string>

#include "listview/CellTexts.h"
#include "listview/ProductList.h"
#include "shopdata/FixedTables.h"

namespace {

const char* ChangeText(OfferChange change) {
    switch (change) {
        case OfferChange::New:
            return "新規";
        case OfferChange::Cheaper:
            return "値下げ";
        case OfferChange::Dearer:
            return "値上げ";
        default:
            return "";
    }
}

}  // namespace

bool WriteChangeTable(std::ostream& out, const ProductList& list, TableFormat format) {
    TableWriter writer(out, format);
    for (const std::string& title : ColumnTitles()) writer.ShiftJisCell(title);
    writer.Utf8Cell("変化");
    writer.Utf8Cell("前回の価格");
    writer.EndLine();
    for (std::size_t row = 0; row < list.RowCount(); ++row) {
        const ProductRecord& record = list.RowRecord(row);
        writer.ProductCells(record);
        writer.Utf8Cell(ChangeText(record.change));
        const bool repriced =
            record.change == OfferChange::Cheaper || record.change == OfferChange::Dearer;
        writer.ShiftJisCell(repriced ? FormatPrice(record.previousPrice) : std::string());
        writer.EndLine();
    }
    return writer.Flush();
}

bool WriteHistoryTable(std::ostream& out, const std::vector<HistoryPoint>& points,
                       TableFormat format) {
    TableWriter writer(out, format);
    for (const char* title : {"日時", "最安値", "中央値", "在庫数合計", "出品数"})
        writer.Utf8Cell(title);
    writer.EndLine();
    for (const HistoryPoint& point : points) {
        writer.Utf8Cell(point.time);
        writer.ShiftJisCell(FormatPrice(point.lowestPrice));
        writer.ShiftJisCell(FormatPrice(point.medianPrice));
        writer.Utf8Cell(std::to_string(point.totalStock));
        writer.Utf8Cell(std::to_string(point.offerCount));
        writer.EndLine();
    }
    return writer.Flush();
}
