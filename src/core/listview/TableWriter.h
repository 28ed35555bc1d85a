#pragma once
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

class ProductList;
struct ProductRecord;

enum class TableFormat { Tsv, Csv };

// Table text in UTF-8, built in memory line by line: TSV replaces tabs and line
// breaks inside a cell by spaces; CSV quotes as RFC 4180 asks and ends lines with
// CRLF.
class TableText {
public:
    explicit TableText(TableFormat format) : m_format(format) {}

    // One cell of Shift-JIS text, converted to UTF-8.
    void ShiftJisCell(std::string_view sjis);
    // One cell already in UTF-8.
    void Utf8Cell(std::string_view utf8);
    // The cells of the list's columns as they show the product.
    void ProductCells(const ProductRecord& record);
    void EndLine();

    std::string& Text() { return m_text; }

private:
    void StartCell();
    // Whether the cell's text holds a byte the format must escape.
    bool NeedsEscaping(std::string_view text) const;
    // Makes the text appended from `from` on a proper cell of the format.
    void EscapeCell(size_t from);

    TableFormat m_format;
    std::string m_text;
    bool m_lineStarted = false;
};

// Writes a table to a stream in blocks as it is built. The one writer behind
// veradune-export and the window's saved lists.
class TableWriter : public TableText {
public:
    TableWriter(std::ostream& out, TableFormat format);
    ~TableWriter();
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    void EndLine();
    // Whole lines that a TableText of the same format built, written as they are.
    void Lines(std::string_view text);
    // Hands what is buffered to the stream; false when the stream has failed.
    bool Flush();

private:
    void WriteBlock();

    std::ostream& m_out;
};

// The list as shown: the column titles, then every shown row. False when the
// stream has failed.
bool WriteProductTable(std::ostream& out, const ProductList& list, TableFormat format);
// The column titles, then the given shown rows in the given order.
bool WriteProductRows(std::ostream& out, const ProductList& list,
                      const std::vector<std::size_t>& rows, TableFormat format);
