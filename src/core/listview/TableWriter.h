#pragma once
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

class ProductList;

enum class TableFormat { Tsv, Csv };

// Writes a table as UTF-8 text, line by line, in blocks: TSV replaces tabs and
// line breaks inside a cell by spaces; CSV quotes as RFC 4180 asks and ends lines
// with CRLF. The one writer behind veradune-export and the window's saved lists.
class TableWriter {
public:
    TableWriter(std::ostream& out, TableFormat format);
    ~TableWriter();
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    // One cell of Shift-JIS text, converted to UTF-8.
    void ShiftJisCell(std::string_view sjis);
    // One cell already in UTF-8.
    void Utf8Cell(std::string_view utf8);
    void EndLine();
    // Hands what is buffered to the stream; false when the stream has failed.
    bool Flush();

private:
    void StartCell();
    void WriteBlock();
    // Makes the text appended from `from` on a proper cell of the format.
    void EscapeCell(size_t from);

    std::ostream& m_out;
    TableFormat m_format;
    std::string m_buffer;
    bool m_lineStarted = false;
};

// The list as shown: the column titles, then every shown row. False when the
// stream has failed.
bool WriteProductTable(std::ostream& out, const ProductList& list, TableFormat format);
// The column titles, then the given shown rows in the given order.
bool WriteProductRows(std::ostream& out, const ProductList& list,
                      const std::vector<std::size_t>& rows, TableFormat format);
