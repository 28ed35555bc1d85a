#include "listview/ProductSort.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <stdexcept>
#include <string_view>

#include "listview/ColumnFields.h"
#include "listview/TextIds.h"
#include "shopdata/ShiftJisText.h"
#include "shopdata/TextConversion.h"

namespace {

bool IsValid(SortKey key) {
    return key.column >= 0 && key.column < kColumnCount &&
           (key.order == SortOrder::Ascending || key.order == SortOrder::Descending);
}

// A key and a position packed into one number: the key, made unsigned and
// reversed for descending order, above the position.
std::uint64_t Pack(int key, size_t position, SortOrder order) {
    std::uint32_t biased = static_cast<std::uint32_t>(key) ^ 0x80000000u;
    if (order == SortOrder::Descending) biased = ~biased;
    return static_cast<std::uint64_t>(biased) << 32 | position;
}

size_t PositionOf(std::uint64_t packed) {
    return static_cast<std::uint32_t>(packed);
}

// The packed keys of a text column. Texts that compare equal under the multibyte
// order have equal bytes, so hashing finds the distinct texts and only those need
// the slower comparison; the key is a text's rank among them.
template <class T, class TextOf>
std::vector<std::uint64_t> PackTextKeys(const std::vector<T>& items, SortKey key, TextOf textOf) {
    constexpr size_t kFetchAhead = 8;  // the texts of moved items lie scattered
    TextIds ids;
    std::vector<std::uint64_t> packed(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        if (i + kFetchAhead < items.size())
            __builtin_prefetch(textOf(items[i + kFetchAhead], key.column).data());
        packed[i] = ids.IdOf(textOf(items[i], key.column));
    }
    const std::vector<std::string_view>& distinct = ids.Texts();
    std::vector<std::uint32_t> byText(distinct.size());
    std::iota(byText.begin(), byText.end(), 0u);
    std::sort(byText.begin(), byText.end(), [&](std::uint32_t a, std::uint32_t b) {
        return ShiftJisLess(distinct[a], distinct[b]);
    });
    std::vector<int> rank(distinct.size());
    for (size_t r = 0; r < byText.size(); ++r) rank[byText[r]] = static_cast<int>(r);
    for (size_t i = 0; i < packed.size(); ++i) packed[i] = Pack(rank[packed[i]], i, key.order);
    return packed;
}

// The positions held by the packed keys, in stable key order, or none when all
// keys are equal. The key half is sorted by least-significant-digit radix passes,
// which keep ties in position order; a digit that every key shares needs no pass,
// and the last pass writes the positions alone.
std::vector<std::uint32_t> SortedPositions(std::vector<std::uint64_t>& packed) {
    constexpr int kDigitBits = 11;
    constexpr int kDigitCount = 3;  // 33 bits cover the 32-bit key half
    constexpr size_t kBuckets = size_t{1} << kDigitBits;
    const auto digit = [](std::uint64_t value, int d) {
        return (value >> (32 + kDigitBits * d)) & (kBuckets - 1);
    };
    std::array<std::vector<size_t>, kDigitCount> start;
    for (auto& counts : start) counts.assign(kBuckets + 1, 0);
    for (std::uint64_t value : packed)
        for (int d = 0; d < kDigitCount; ++d) ++start[d][digit(value, d) + 1];
    std::vector<int> passes;
    for (int d = 0; d < kDigitCount; ++d)
        if (start[d][digit(packed[0], d) + 1] != packed.size()) passes.push_back(d);

    if (passes.empty()) return {};  // all keys equal
    std::vector<std::uint32_t> positions(packed.size());
    std::vector<std::uint64_t> scratch(passes.size() > 1 ? packed.size() : 0);
    for (size_t p = 0; p < passes.size(); ++p) {
        std::vector<size_t>& next = start[passes[p]];
        std::partial_sum(next.begin(), next.end(), next.begin());
        if (p + 1 == passes.size()) {
            for (std::uint64_t value : packed)
                positions[next[digit(value, passes[p])]++] = PositionOf(value);
        } else {
            for (std::uint64_t value : packed) scratch[next[digit(value, passes[p])]++] = value;
            packed.swap(scratch);
        }
    }
    return positions;
}

template <class T>
void Prefetch(const T& item) {
    const char* bytes = reinterpret_cast<const char*>(&item);
    for (size_t offset = 0; offset < sizeof(T); offset += 64) __builtin_prefetch(bytes + offset, 1);
}

// Moves items[from[i]] to position i; `from` is used up. Following the cycles of
// the permutation moves every item once, in place, but one cycle is a chain of
// dependent cache misses. So a few items are taken out of the table, which cuts
// their cycles into independent segments; the segments are walked side by side,
// each fetching its next item while the others move theirs, and a segment ends
// where its next item is one that was taken out.
template <class T>
void ApplyOrder(std::vector<T>& items, std::vector<std::uint32_t>& from) {
    constexpr size_t kSegments = 16;
    struct Segment {
        size_t hole;    // the position to fill next
        size_t source;  // from[hole], already marked done
    };
    std::array<Segment, kSegments> segments;
    std::array<size_t, kSegments> takenFrom;  // where taken[i] came from
    std::vector<T> taken(kSegments);
    const auto markDone = [&](size_t position) {
        const size_t source = from[position];
        from[position] = static_cast<std::uint32_t>(position);
        Prefetch(items[source]);
        __builtin_prefetch(&from[source]);
        return source;
    };
    size_t cursor = 0;
    for (;;) {
        size_t active = 0;
        for (; active < kSegments && cursor < items.size(); ++cursor) {
            if (from[cursor] == cursor) continue;  // in place, or moved already
            taken[active] = std::move(items[cursor]);
            takenFrom[active] = cursor;
            segments[active] = {cursor, markDone(cursor)};
            ++active;
        }
        if (active == 0) return;
        while (active > 0) {
            for (size_t k = 0; k < active;) {
                Segment& segment = segments[k];
                // A source already marked done can only be an item taken out.
                if (from[segment.source] == segment.source) {
                    size_t t = 0;
                    while (takenFrom[t] != segment.source) ++t;
                    items[segment.hole] = std::move(taken[t]);
                    segment = segments[--active];
                    continue;
                }
                const size_t next = markDone(segment.source);
                items[segment.hole] = std::move(items[segment.source]);
                segment = {segment.source, next};
                ++k;
            }
        }
    }
}

// Where each item of the stable sorted order comes from. Empty when the key
// orders nothing.
template <class T, class TextOf, class NumberOf>
std::vector<std::uint32_t> SortedOrder(const std::vector<T>& items, SortKey key, TextOf textOf,
                                       NumberOf numberOf) {
    if (!IsValid(key) || items.size() < 2) return {};
    if (items.size() > UINT32_MAX) throw std::length_error("too many items to sort");
    std::vector<std::uint64_t> packed;
    if (IsTextColumn(key.column)) {
        packed = PackTextKeys(items, key, textOf);
    } else {
        packed.resize(items.size());
        for (size_t i = 0; i < items.size(); ++i)
            packed[i] = Pack(numberOf(items[i], key.column), i, key.order);
    }
    return SortedPositions(packed);
}

template <class T, class TextOf, class NumberOf>
void SortByColumn(std::vector<T>& items, SortKey key, TextOf textOf, NumberOf numberOf) {
    std::vector<std::uint32_t> order = SortedOrder(items, key, textOf, numberOf);
    if (!order.empty()) ApplyOrder(items, order);
}

}  // namespace

bool CompareProductRecords(const ProductRecord& a, const ProductRecord& b, SortKey key) {
    if (!IsValid(key)) return false;
    const ProductRecord& first = key.order == SortOrder::Ascending ? a : b;
    const ProductRecord& second = key.order == SortOrder::Ascending ? b : a;
    if (IsTextColumn(key.column))
        return ShiftJisLess(ProductText(first, key.column), ProductText(second, key.column));
    return ProductNumber(first, key.column) < ProductNumber(second, key.column);
}

void SortProducts(std::vector<ProductRecord>& products, SortKey key) {
    SortByColumn(products, key, ProductText, ProductNumber);
}

void SortShownRows(std::vector<std::uint32_t>& rows, const std::vector<ProductRecord>& records,
                   SortKey key) {
    // A text cell shows its field unchanged; a number cell's reading is taken
    // from the record, equal to what an atoi reading of the cell would give.
    const auto text = [&](std::uint32_t row, int column) {
        return ProductText(records[row], column);
    };
    const auto number = [&](std::uint32_t row, int column) {
        return ShownNumber(records[row], column);
    };
    SortByColumn(rows, key, text, number);
}

std::vector<std::uint32_t> SortProductsTracked(std::vector<ProductRecord>& products, SortKey key) {
    std::vector<std::uint32_t> order = SortedOrder(products, key, ProductText, ProductNumber);
    std::vector<std::uint32_t> newPosition(products.size());
    if (order.empty()) {
        std::iota(newPosition.begin(), newPosition.end(), 0u);
        return newPosition;
    }
    for (size_t i = 0; i < order.size(); ++i) newPosition[order[i]] = static_cast<std::uint32_t>(i);
    ApplyOrder(products, order);
    return newPosition;
}

SortKey ClickColumn(SortKey current, int clickedColumn) {
    if (clickedColumn != current.column) return {clickedColumn, SortOrder::Ascending};
    return {clickedColumn,
            current.order == SortOrder::Ascending ? SortOrder::Descending : SortOrder::Ascending};
}

std::string HeaderTitle(int column, SortKey key) {
    if (column < 0 || column >= kColumnCount) return {};
    static const std::string ascendingArrow = ToShiftJis(" ▲");
    static const std::string descendingArrow = ToShiftJis(" ▼");
    std::string title = ColumnTitles()[column];
    if (column == key.column)
        title += key.order == SortOrder::Ascending ? ascendingArrow : descendingArrow;
    return title;
}
