#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "shopdata/ProductRecord.h"

// Turns a saved shop page of the portal into products. The page is scanned forward
// from marker to marker; it is not parsed as HTML.

// Receives the text for the download dialog's detail line (Shift-JIS).
using DetailReport = std::function<void(const std::string& sjisText)>;

// Reads the page's header (company name and home town) and appends one record per
// product row to `products`. Reports "home town : company" once the header is read,
// or the error text when it is incomplete. Returns whether the header was read; empty
// text returns false and reports nothing. `report` may be empty.
bool ParseShopText(std::string_view sjisText, std::vector<ProductRecord>& products,
                   const DetailReport& report);

// Loads the UTF-8 page at `pagePath` into `buffer`, which a reader of many pages
// keeps from page to page, and parses it as above would parse its conversion,
// converting only the fields it takes. A page that cannot be read is reported like
// a page without a header.
bool ParseShopPage(const std::string& pagePath, std::string& buffer,
                   std::vector<ProductRecord>& products, const DetailReport& report);

// Fills the combat figures of `record` from one row's text and, for trade goods,
// replaces the generic category with the sub-category the row names.
void ParseItemAttributes(std::string_view rowText, ProductRecord& record);
