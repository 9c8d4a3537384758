#pragma once
// Word ids for the comparison's indexes: each distinct word, ASCII letters
// folded, gets the next dense id 0, 1, 2, ... The ids only live as long as
// the text the words are views into.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string_view>
#include <vector>

#include "compare/WordText.h"

namespace rasp {

inline std::uint64_t MixWordHash(std::uint64_t x) {
    x ^= x >> 33;
    x *= 0xFF51AFD7ED558CCDULL;
    x ^= x >> 33;
    return x;
}

// Open addressing, a power of two at least twice the entries.
class TWordInterner {
public:
    explicit TWordInterner(std::size_t expected)
        : FSlots(std::bit_ceil(std::max<std::size_t>(16, expected * 2)), -1), FMask(FSlots.size() - 1) {
        FWords.reserve(expected);
    }

    std::int32_t Intern(std::u16string_view word) {
        std::uint64_t hash = 0xCBF29CE484222325ULL;
        for (const char16_t c : word) hash = (hash ^ FoldAscii(c)) * 0x100000001B3ULL;
        hash = MixWordHash(hash);
        for (std::size_t slot = hash & FMask;; slot = (slot + 1) & FMask) {
            const std::int32_t id = FSlots[slot];
            if (id < 0) {
                const auto fresh = static_cast<std::int32_t>(FWords.size());
                FWords.push_back({word, hash});
                FSlots[slot] = fresh;
                if (FWords.size() * 2 > FSlots.size()) Grow();
                return fresh;
            }
            const TEntry& entry = FWords[static_cast<std::size_t>(id)];
            if (entry.Hash == hash && SameFolded(entry.Word, word)) return id;
        }
    }

    std::int32_t Distinct() const { return static_cast<std::int32_t>(FWords.size()); }

private:
    struct TEntry {
        std::u16string_view Word;
        std::uint64_t Hash;
    };

    static bool SameFolded(std::u16string_view a, std::u16string_view b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
        return true;
    }

    void Grow() {
        FSlots.assign(FSlots.size() * 2, -1);
        FMask = FSlots.size() - 1;
        for (std::size_t id = 0; id < FWords.size(); ++id) {
            std::size_t slot = FWords[id].Hash & FMask;
            while (FSlots[slot] >= 0) slot = (slot + 1) & FMask;
            FSlots[slot] = static_cast<std::int32_t>(id);
        }
    }

    std::vector<std::int32_t> FSlots;
    std::size_t FMask;
    std::vector<TEntry> FWords;
};

}  // namespace rasp
