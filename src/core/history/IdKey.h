#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

// A key of several name ids and numbers, for the hash maps that match a
// download's offers with the recorded ones.
template <size_t N>
using IdKey = std::array<std::int64_t, N>;

struct IdKeyHash {
    // Ids are small and close together: each part is spread over the whole word
    // before the next joins, or the buckets would crowd.
    template <size_t N>
    size_t operator()(const IdKey<N>& key) const {
        std::uint64_t hash = 0;
        for (const std::int64_t part : key) {
            hash = (hash ^ static_cast<std::uint64_t>(part)) * 0x9E3779B97F4A7C15ull;
            hash ^= hash >> 29;
        }
        return static_cast<size_t>(hash);
    }
};
