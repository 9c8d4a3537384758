#include "compare/WaveletMatrix.h"

#include <algorithm>
#include <bit>

namespace rasp {

TRankBits::TRankBits(std::size_t size) : FWords(size / 64 + 1, 0) {}

void TRankBits::Seal() {
    FBefore.resize(FWords.size());
    std::int32_t total = 0;
    for (std::size_t w = 0; w < FWords.size(); ++w) {
        FBefore[w] = total;
        total += std::popcount(FWords[w]);
    }
}

std::int32_t TRankBits::Rank1(std::size_t i) const {
    const std::size_t w = i >> 6;
    const std::uint64_t below = (std::uint64_t{1} << (i & 63)) - 1;
    return FBefore[w] + std::popcount(FWords[w] & below);
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

std::int32_t TWaveletMatrix::Descend(int level, std::int32_t lo, std::int32_t hi, std::int32_t x,
                                     bool tight, std::int32_t prefix) const {
    if (lo >= hi) return -1;
    if (level == FBits) return prefix;
    const int bit = FBits - 1 - level;
    const TRankBits& bits = FLevels[static_cast<std::size_t>(level)];
    const std::int32_t ones_lo = bits.Rank1(static_cast<std::size_t>(lo));
    const std::int32_t ones_hi = bits.Rank1(static_cast<std::size_t>(hi));
    const std::int32_t zlo = lo - ones_lo;
    const std::int32_t zhi = hi - ones_hi;
    const std::int32_t olo = FZeros[static_cast<std::size_t>(level)] + ones_lo;
    const std::int32_t ohi = FZeros[static_cast<std::size_t>(level)] + ones_hi;
    const std::int32_t one = prefix | (std::int32_t{1} << bit);
    if (!tight) {
        // Any value will do: the smallest.
        if (zlo < zhi) return Descend(level + 1, zlo, zhi, x, false, prefix);
        return Descend(level + 1, olo, ohi, x, false, one);
    }
    if ((x >> bit) & 1) return Descend(level + 1, olo, ohi, x, true, one);
    const std::int32_t below = Descend(level + 1, zlo, zhi, x, true, prefix);
    if (below >= 0) return below;
    return Descend(level + 1, olo, ohi, x, false, one);
}

std::int32_t TWaveletMatrix::NextValue(std::int32_t lo, std::int32_t hi, std::int32_t x) const {
    if (FLevels.empty() || lo >= hi) return -1;
    if (x < 0) x = 0;
    if (x >> FBits) return -1;  // above every value
    return Descend(0, lo, hi, x, true, 0);
}

}  // namespace rasp
