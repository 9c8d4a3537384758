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
    void Set(std::size_t i) { FWords[i >> 6] |= std::uint64_t{1} << (i & 63); }
    bool Get(std::size_t i) const { return (FWords[i >> 6] >> (i & 63)) & 1; }
    // Call once after the last Set.
    void Seal();
    // Number of set bits among 0 .. i - 1.
    std::int32_t Rank1(std::size_t i) const;

private:
    std::vector<std::uint64_t> FWords;
    std::vector<std::int32_t> FBefore;  // set bits before each word
};

class TWaveletMatrix {
public:
    TWaveletMatrix() = default;
    explicit TWaveletMatrix(std::vector<std::int32_t> values);

    // Smallest value >= x among entries [lo, hi), or -1 when there is none.
    std::int32_t NextValue(std::int32_t lo, std::int32_t hi, std::int32_t x) const;

private:
    std::int32_t Descend(int level, std::int32_t lo, std::int32_t hi, std::int32_t x, bool tight,
                         std::int32_t prefix) const;

    int FBits = 0;
    std::vector<TRankBits> FLevels;
    std::vector<std::int32_t> FZeros;  // zeros of each level
};

}  // namespace rasp
