#pragma once
#include <cstdint>
#include <span>

// splitmix64, with the few draws the generator needs. Written out here rather than
// taken from <random> so that a seed gives the same pages with every standard
// library.
class PortalRandom {
public:
    explicit PortalRandom(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, bound); bound must be positive. The modulo bias is far below
    // anything a sample page could show.
    int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint64_t>(bound)); }

    // Uniform in [low, high].
    int Between(int low, int high) { return low + Below(high - low + 1); }

    bool Percent(int percent) { return Below(100) < percent; }

    // Spread evenly over the decades between low and high (both positive), as shop
    // prices and stocks are. Integer steps only: floating-point logarithms may
    // differ in the last bit between libraries.
    int LogBetween(int low, int high) {
        int decadeLow = 1;
        while (decadeLow * 10LL <= low) decadeLow *= 10;
        int decadeCount = 1;
        for (long long d = decadeLow * 10LL; d <= high; d *= 10) ++decadeCount;
        long long from = decadeLow;
        for (int step = Below(decadeCount); step > 0; --step) from *= 10;
        const long long to = from * 10 - 1;
        return Between(static_cast<int>(from < low ? low : from),
                       static_cast<int>(to > high ? high : to));
    }

    template <typename T>
    const T& Pick(std::span<const T> items) {
        return items[static_cast<size_t>(Below(static_cast<int>(items.size())))];
    }

private:
    std::uint64_t m_state;
};
