#pragma once
// A set of slot numbers 0 .. size - 1 as a tree of 64-bit words: each word
// of a level above the first tells which words below it are full. Setting
// and clearing a slot and "the first slot at or after i that is not set"
// cost one step per level, six levels for two thousand million slots.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rasp {

class TSlotBits {
public:
    explicit TSlotBits(std::size_t size = 0, bool set = false);

    std::size_t Size() const { return FSizes.empty() ? 0 : FSizes[0]; }
    bool Test(std::size_t i) const { return (FLevels[0][i >> 6] >> (i & 63)) & 1; }
    void Set(std::size_t i);
    void Clear(std::size_t i);
    // First slot >= i that is not set, or Size().
    std::size_t NextClear(std::size_t i) const { return FSizes.empty() ? 0 : NextClearAt(0, i); }

private:
    std::size_t NextClearAt(std::size_t level, std::size_t i) const;

    std::vector<std::size_t> FSizes;                // bits of each level
    std::vector<std::vector<std::uint64_t>> FLevels;
};

}  // namespace rasp
