#pragma once
// A wavelet matrix over a sequence of non-negative integers: "the smallest
// value at least x among the entries lo .. hi - 1" in time proportional to
// the bits of the largest value, in about one machine word of bits per entry
// and bit level.

#include <cstdint>
#include <vector>

namespace rasp {

class TRankBits {
public:
    explicit TRankBits(std::size_t size = 0);
    void Set(std::size_t i) { FCells[i >> 6].Bits |= std::uint64_t{1} << (i & 63); }
    bool Get(std::size_t i) const { return (FCells[i >> 6].Bits >> (i & 63)) & 1; }
    // Call once after the last Set.
    void Seal();
    // Number of set bits among 0 .. i - 1.
    std::int32_t Rank1(std::size_t i) const {
        const TCell& cell = FCells[i >> 6];
        const std::uint64_t below = (std::uint64_t{1} << (i & 63)) - 1;
        return cell.Before + __builtin_popcountll(cell.Bits & below);
    }

private:
    // The count sits beside its word, so that a rank query reads one cache line.
    struct TCell {
        std::uint64_t Bits = 0;
        std::int32_t Before = 0;  // set bits in the words before this one
    };
    std::vector<TCell> FCells;
};

class TWaveletMatrix {
public:
    TWaveletMatrix() = default;
    explicit TWaveletMatrix(std::vector<std::int32_t> values);

    // Smallest value >= x among entries [lo, hi), or -1 when there is none.
    std::int32_t NextValue(std::int32_t lo, std::int32_t hi, std::int32_t x) const;

private:
    int FBits = 0;
    std::vector<TRankBits> FLevels;
    std::vector<std::int32_t> FZeros;  // zeros of each level
};

}  // namespace rasp
