#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "export/ExportOptions.h"

// Writes one line of cells (UTF-8) in the chosen format: TSV replaces tabs and
// line breaks inside a cell by spaces; CSV quotes as RFC 4180 asks.
void WriteTableLine(std::ostream& out, const std::vector<std::string>& cells, TableFormat format);
