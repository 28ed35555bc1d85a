#include "listview/TableWriter.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

#include "listview/CellTexts.h"
#include "listview/ColumnFields.h"
#include "listview/ProductList.h"
#include "shopdata/FixedTables.h"
#include "shopdata/TextConversion.h"

namespace {

// Large enough that writing a block costs little against filling it.
constexpr size_t kBlockSize = 1 << 16;

// Rows formatted by one thread at a time, and the room their text is given at once
// (a row takes some 80 bytes): a piece that grew step by step would be copied at
// every step.
constexpr size_t kPieceRows = 2048;
constexpr size_t kPieceRoom = kPieceRows * 128;

}  // namespace

void TableText::StartCell() {
    if (m_lineStarted) m_text += m_format == TableFormat::Tsv ? '\t' : ',';
    m_lineStarted = true;
}

void TableText::ShiftJisCell(std::string_view sjis) {
    StartCell();
    const size_t from = m_text.size();
    AppendShiftJisAsUtf8(sjis, m_text);
    // Shift-JIS has no trail byte below 0x40 and the conversion makes no ASCII of
    // other bytes, so the Shift-JIS text tells whether its conversion needs escaping.
    if (NeedsEscaping(sjis)) EscapeCell(from);
}

void TableText::Utf8Cell(std::string_view utf8) {
    StartCell();
    const size_t from = m_text.size();
    m_text += utf8;
    if (NeedsEscaping(utf8)) EscapeCell(from);
}

void TableText::ProductCells(const ProductRecord& record) {
    CellRoom room;
    for (int column = 0; column < kColumnCount; ++column) {
        const std::string_view text = CellTextView(record, column, room);
        // A number's text is ASCII, which reads the same in both encodings.
        if (IsTextColumn(column))
            ShiftJisCell(text);
        else
            Utf8Cell(text);
    }
}

bool TableText::NeedsEscaping(std::string_view text) const {
    const bool tsv = m_format == TableFormat::Tsv;
    // Every byte escaped is below ",", which Japanese text hardly has.
    return std::any_of(text.begin(), text.end(), [tsv](char c) {
        return static_cast<unsigned char>(c) <= ',' &&
               (c == '\n' || c == '\r' || (tsv ? c == '\t' : c == ',' || c == '"'));
    });
}

void TableText::EscapeCell(size_t from) {
    // Every byte of a multi-byte UTF-8 character is above 0x7F, so the ASCII
    // bytes looked for here are whole characters.
    if (m_format == TableFormat::Tsv) {
        for (size_t i = from; i < m_text.size(); ++i)
            if (m_text[i] == '\t' || m_text[i] == '\n' || m_text[i] == '\r') m_text[i] = ' ';
        return;
    }
    std::string quoted = "\"";
    for (size_t i = from; i < m_text.size(); ++i) {
        if (m_text[i] == '"') quoted += '"';
        quoted += m_text[i];
    }
    quoted += '"';
    m_text.replace(from, std::string::npos, quoted);
}

void TableText::EndLine() {
    m_text += m_format == TableFormat::Csv ? "\r\n" : "\n";
    m_lineStarted = false;
}

TableWriter::TableWriter(std::ostream& out, TableFormat format) : TableText(format), m_out(out) {
    Text().reserve(kBlockSize + 4096);
}

TableWriter::~TableWriter() {
    Flush();
}

void TableWriter::EndLine() {
    TableText::EndLine();
    if (Text().size() >= kBlockSize) WriteBlock();
}

void TableWriter::Lines(std::string_view text) {
    WriteBlock();
    m_out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void TableWriter::WriteBlock() {
    m_out.write(Text().data(), static_cast<std::streamsize>(Text().size()));
    Text().clear();
}

bool TableWriter::Flush() {
    WriteBlock();
    m_out.flush();
    return static_cast<bool>(m_out);
}

namespace {

// The titles, then `count` rows, the k-th being shown row `rowAt(k)`. The rows are
// formatted in pieces, on every core, and the pieces written in order as they are
// done, so that the text of a large list is never held whole.
template <class RowAt>
bool WriteRows(std::ostream& out, const ProductList& list, std::size_t count, RowAt rowAt,
               TableFormat format) {
    TableWriter writer(out, format);
    for (const std::string& title : ColumnTitles()) writer.ShiftJisCell(title);
    writer.EndLine();

    std::vector<std::string> pieces((count + kPieceRows - 1) / kPieceRows);
    std::vector<std::atomic<bool>> formatted(pieces.size());
    std::atomic<size_t> next{0};
    // Takes the next piece nobody has taken until none is left; `afterEach` follows
    // each piece.
    const auto formatPieces = [&](auto afterEach) {
        for (size_t piece; (piece = next.fetch_add(1)) < pieces.size();) {
            TableText text(format);
            text.Text().reserve(kPieceRoom);
            const size_t end = std::min(count, (piece + 1) * kPieceRows);
            for (size_t k = piece * kPieceRows; k < end; ++k) {
                text.ProductCells(list.RowRecord(rowAt(k)));
                text.EndLine();
            }
            pieces[piece] = std::move(text.Text());
            formatted[piece].store(true, std::memory_order_release);
            afterEach();
        }
    };
    std::vector<std::thread> helpers;
    const size_t workers = std::clamp<size_t>(std::thread::hardware_concurrency(), 1,
                                              std::clamp<size_t>(pieces.size(), 1, 8));
    for (size_t i = 1; i < workers; ++i) {
        try {
            helpers.emplace_back(formatPieces, [] {});
        } catch (const std::system_error&) {
            break;  // out of threads: this one and the helpers made do the rest
        }
    }
    // Between pieces of its own, this thread writes those formatted so far in order.
    size_t written = 0;
    const auto writeFormatted = [&] {
        for (; written < pieces.size() && formatted[written].load(std::memory_order_acquire);
             ++written) {
            writer.Lines(pieces[written]);
            pieces[written] = std::string();
        }
    };
    formatPieces(writeFormatted);
    for (std::thread& helper : helpers) helper.join();
    writeFormatted();
    return writer.Flush();
}

}  // namespace

bool WriteProductTable(std::ostream& out, const ProductList& list, TableFormat format) {
    return WriteRows(
        out, list, list.RowCount(), [](std::size_t k) { return k; }, format);
}

bool WriteProductRows(std::ostream& out, const ProductList& list,
                      const std::vector<std::size_t>& rows, TableFormat format) {
    return WriteRows(
        out, list, rows.size(), [&](std::size_t k) { return rows[k]; }, format);
}
