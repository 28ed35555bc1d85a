#pragma once
#include <string>
#include <utility>
#include <vector>

#include "acquire/DownloadJob.h"
#include "shopdata/ProductRecord.h"
#include "shopdata/TextConversion.h"

// What the shop parser reports of a page whose header it cannot read.
inline const std::string kHeaderError = "エラー！商会情報の取得に失敗しました";

// The products' names as UTF-8, in order, so that a mismatch reads plainly.
inline std::vector<std::string> Utf8Names(const std::vector<ProductRecord>& products) {
    std::vector<std::string> names;
    for (const ProductRecord& p : products) names.push_back(ShiftJisToUtf8(p.productName));
    return names;
}

// Each product's name as UTF-8 with its price, in order.
inline std::vector<std::pair<std::string, int>> NamesAndPrices(
    const std::vector<ProductRecord>& products) {
    std::vector<std::pair<std::string, int>> rows;
    for (const ProductRecord& p : products)
        rows.emplace_back(ShiftJisToUtf8(p.productName), p.price);
    return rows;
}

// How a job ended and the products it found, comparable across processes.
inline std::string JobText(DownloadJob& job) {
    std::string text = JobThreadProc(job) == 1 ? "OK" : "Cancel";
    for (const auto& [name, price] : NamesAndPrices(job.Products()))
        text += "\n" + name + " " + std::to_string(price);
    return text;
}
