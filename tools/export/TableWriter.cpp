#include "export/TableWriter.h"

namespace {

void WriteTsvCell(std::ostream& out, const std::string& cell) {
    for (char c : cell) out << (c == '\t' || c == '\n' || c == '\r' ? ' ' : c);
}

void WriteCsvCell(std::ostream& out, const std::string& cell) {
    if (cell.find_first_of(",\"\r\n") == std::string::npos) {
        out << cell;
        return;
    }
    out << '"';
    for (char c : cell) {
        if (c == '"') out << '"';
        out << c;
    }
    out << '"';
}

}  // namespace

void WriteTableLine(std::ostream& out, const std::vector<std::string>& cells, TableFormat format) {
    for (size_t i = 0; i < cells.size(); ++i) {
        if (format == TableFormat::Tsv) {
            if (i) out << '\t';
            WriteTsvCell(out, cells[i]);
        } else {
            if (i) out << ',';
            WriteCsvCell(out, cells[i]);
        }
    }
    out << (format == TableFormat::Csv ? "\r\n" : "\n");
}
