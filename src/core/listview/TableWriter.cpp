#include "listview/TableWriter.h"

#include "listview/ProductList.h"
#include "shopdata/FixedTables.h"
#include "shopdata/TextConversion.h"

namespace {

// Large enough that writing a block costs little against filling it.
constexpr size_t kBlockSize = 1 << 16;

}  // namespace

TableWriter::TableWriter(std::ostream& out, TableFormat format) : m_out(out), m_format(format) {
    m_buffer.reserve(kBlockSize + 4096);
}

TableWriter::~TableWriter() {
    Flush();
}

void TableWriter::StartCell() {
    if (m_lineStarted) m_buffer += m_format == TableFormat::Tsv ? '\t' : ',';
    m_lineStarted = true;
}

void TableWriter::ShiftJisCell(std::string_view sjis) {
    StartCell();
    const size_t from = m_buffer.size();
    AppendShiftJisAsUtf8(sjis, m_buffer);
    EscapeCell(from);
}

void TableWriter::Utf8Cell(std::string_view utf8) {
    StartCell();
    const size_t from = m_buffer.size();
    m_buffer += utf8;
    EscapeCell(from);
}

void TableWriter::EscapeCell(size_t from) {
    // Every byte of a multi-byte UTF-8 character is above 0x7F, so the ASCII
    // bytes looked for here are whole characters.
    if (m_format == TableFormat::Tsv) {
        for (size_t i = from; i < m_buffer.size(); ++i)
            if (m_buffer[i] == '\t' || m_buffer[i] == '\n' || m_buffer[i] == '\r')
                m_buffer[i] = ' ';
        return;
    }
    if (m_buffer.find_first_of(",\"\r\n", from) == std::string::npos) return;
    std::string quoted = "\"";
    for (size_t i = from; i < m_buffer.size(); ++i) {
        if (m_buffer[i] == '"') quoted += '"';
        quoted += m_buffer[i];
    }
    quoted += '"';
    m_buffer.replace(from, std::string::npos, quoted);
}

void TableWriter::EndLine() {
    m_buffer += m_format == TableFormat::Csv ? "\r\n" : "\n";
    m_lineStarted = false;
    if (m_buffer.size() >= kBlockSize) WriteBlock();
}

void TableWriter::WriteBlock() {
    m_out.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
    m_buffer.clear();
}

bool TableWriter::Flush() {
    WriteBlock();
    m_out.flush();
    return static_cast<bool>(m_out);
}

namespace {

// The titles, then `count` rows, the k-th being shown row `rowAt(k)`.
template <class RowAt>
bool WriteRows(std::ostream& out, const ProductList& list, std::size_t count, RowAt rowAt,
               TableFormat format) {
    TableWriter writer(out, format);
    for (const std::string& title : ColumnTitles()) writer.ShiftJisCell(title);
    writer.EndLine();
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t row = rowAt(k);
        for (int column = 0; column < kColumnCount; ++column)
            writer.ShiftJisCell(list.CellText(row, column));
        writer.EndLine();
    }
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
