#pragma once
#include <ostream>
#include <vector>

#include "history/PriceHistory.h"
#include "listview/TableWriter.h"

class ProductList;

// The list as shown with two columns more: how each offer changed since the
// previous download ("新規", "値下げ", "値上げ") and its previous price, empty for
// a new offer. False when the stream has failed.
bool WriteChangeTable(std::ostream& out, const ProductList& list, TableFormat format);

// A product's recorded figures, one line per download, as the history dialog
// shows them. False when the stream has failed.
bool WriteHistoryTable(std::ostream& out, const std::vector<HistoryPoint>& points,
                       TableFormat format);
