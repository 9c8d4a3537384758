#include "compare/WaveletMatrix.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace rasp {

TRankBits::TRankBits(std::size_t size) : FCells(size / 64 + 1) {}

void TRankBits::Seal() {
    std::int32_t total = 0;
    for (TCell& cell : FCells) {
        cell.Before = total;
        total += std::popcount(cell.Bits);
    }
}

TWaveletMatrix::TWaveletMatrix(std::vector<std::int32_t> values) {
    std::int32_t largest = 0;
    for (const std::int32_t v : values) largest = std::max(largest, v);
    FBits = std::max(1, static_cast<int>(std::bit_width(static_cast<std::uint32_t>(largest))));
    const std::size_t n = values.size();
    std::vector<std::int32_t> next(n);
    for (int level = 0; level < FBits; ++level) {
        const int bit = FBits - 1 - level;
        TRankBits bits(n);
        std::size_t zeros = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if ((values[i] >> bit) & 1)
                bits.Set(i);
            else
                ++zeros;
        }
        bits.Seal();
        // Stable partition: entries with a 0 bit first, then those with a 1.
        std::size_t zero = 0;
        std::size_t one = zeros;
        for (std::size_t i = 0; i < n; ++i) next[((values[i] >> bit) & 1) ? one++ : zero++] = values[i];
        values.swap(next);
        FLevels.push_back(std::move(bits));
        FZeros.push_back(static_cast<std::int32_t>(zeros));
    }
}

// Rank queries are popcounts: use the instruction where the processor has it.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("popcnt", "default")))
#endif
std::int32_t TWaveletMatrix::NextValue(std::int32_t lo, std::int32_t hi, std::int32_t x) const {
    if (FLevels.empty() || lo >= hi) return -1;
    if (x < 0) x = 0;
    if (x >> FBits) return -1;  // above every value
    // Follow x's bits down; the deepest level where x has a 0 and the range
    // has entries with a 1 is where the smallest larger value branches off.
    int altLevel = -1;
    std::int32_t altLo = 0, altHi = 0, altPrefix = 0;
    std::int32_t prefix = 0;
    int level = 0;
    for (; level < FBits && lo < hi; ++level) {
        const int bit = FBits - 1 - level;
        const TRankBits& bits = FLevels[static_cast<std::size_t>(level)];
        const std::int32_t onesLo = bits.Rank1(static_cast<std::size_t>(lo));
        const std::int32_t onesHi = bits.Rank1(static_cast<std::size_t>(hi));
        const std::int32_t zeros = FZeros[static_cast<std::size_t>(level)];
        if ((x >> bit) & 1) {
            lo = zeros + onesLo;
            hi = zeros + onesHi;
            prefix |= std::int32_t{1} << bit;
        } else {
            if (onesLo < onesHi) {
                altLevel = level + 1;
                altLo = zeros + onesLo;
                altHi = zeros + onesHi;
                altPrefix = prefix | (std::int32_t{1} << bit);
            }
            lo -= onesLo;
            hi -= onesHi;
        }
    }
    if (level == FBits && lo < hi) return prefix;  // x itself occurs
    if (altLevel < 0) return -1;
    // The smallest value of the branch: zeros wherever the range has any.
    lo = altLo;
    hi = altHi;
    prefix = altPrefix;
    for (level = altLevel; level < FBits; ++level) {
        const int bit = FBits - 1 - level;
        const TRankBits& bits = FLevels[static_cast<std::size_t>(level)];
        const std::int32_t onesLo = bits.Rank1(static_cast<std::size_t>(lo));
        const std::int32_t onesHi = bits.Rank1(static_cast<std::size_t>(hi));
        if (hi - lo > onesHi - onesLo) {
            lo -= onesLo;
            hi -= onesHi;
        } else {
            const std::int32_t zeros = FZeros[static_cast<std::size_t>(level)];
            lo = zeros + onesLo;
            hi = zeros + onesHi;
            prefix |= std::int32_t{1} << bit;
        }
    }
    return prefix;
}

}  // namespace rasp
