#include "compare/SlotBits.h"

#include <algorithm>

namespace rasp {

namespace {
constexpr std::uint64_t kFull = ~std::uint64_t{0};
}

TSlotBits::TSlotBits(std::size_t size, bool set) {
    if (size == 0) return;
    FSizes.push_back(size);
    while (FSizes.back() > 64) FSizes.push_back((FSizes.back() + 63) / 64);
    for (const std::size_t bits : FSizes) FLevels.emplace_back((bits + 63) / 64, 0);
    if (!set) return;
    for (std::size_t i = 0; i < size; ++i) Set(i);
}

void TSlotBits::Set(std::size_t i) {
    for (std::size_t level = 0; level < FLevels.size(); ++level) {
        std::uint64_t& word = FLevels[level][i >> 6];
        word |= std::uint64_t{1} << (i & 63);
        // The word above learns of it only once this one is full.
        if (word != kFull) return;
        i >>= 6;
    }
}

void TSlotBits::Clear(std::size_t i) {
    for (std::size_t level = 0; level < FLevels.size(); ++level) {
        std::uint64_t& word = FLevels[level][i >> 6];
        const bool wasFull = word == kFull;
        word &= ~(std::uint64_t{1} << (i & 63));
        if (!wasFull) return;
        i >>= 6;
    }
}

std::size_t TSlotBits::NextClearAt(std::size_t level, std::size_t i) const {
    const std::vector<std::uint64_t>& words = FLevels[level];
    const std::size_t size = FSizes[level];
    if (i >= size) return size;
    std::size_t w = i >> 6;
    std::uint64_t free = ~words[w] & (kFull << (i & 63));
    if (free == 0) {
        // The next word of this level that is not full, from the level above.
        w = level + 1 < FLevels.size() ? NextClearAt(level + 1, w + 1) : words.size();
        if (w >= words.size()) return size;
        free = ~words[w];
    }
    return std::min(size, (w << 6) + static_cast<std::size_t>(__builtin_ctzll(free)));
}

}  // namespace rasp
