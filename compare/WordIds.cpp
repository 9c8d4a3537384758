#include "compare/WordIds.h"

#include <algorithm>
#include <bit>

#include "compare/WordText.h"

namespace rasp {

namespace {

std::uint64_t Mix(std::uint64_t x) {
    x ^= x >> 33;
    x *= 0xFF51AFD7ED558CCDULL;
    x ^= x >> 33;
    return x;
}

// Open addressing, a power of two at least twice the entries.
class TWordInterner {
public:
    explicit TWordInterner(std::size_t expected)
        : FSlots(std::bit_ceil(std::max<std::size_t>(16, expected * 2)), -1), FMask(FSlots.size() - 1) {}

    std::int32_t Intern(std::u16string_view word) {
        std::uint64_t hash = 0xCBF29CE484222325ULL;
        for (const char16_t c : word) hash = (hash ^ FoldAscii(c)) * 0x100000001B3ULL;
        hash = Mix(hash);
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

}  // namespace

TWordIds InternWords(const TListWords& words1, std::u16string_view text1, const TListWords& words2,
                     std::u16string_view text2) {
    // Sized for the distinct words of an ordinary article; the table grows when needed.
    TWordInterner interner(static_cast<std::size_t>(std::min(words1.Count() + words2.Count(), 1 << 16)));
    TWordIds ids;
    ids.Ids2.reserve(static_cast<std::size_t>(words2.Count()));
    for (const TWord& word : words2) ids.Ids2.push_back(interner.Intern(WordText(text2, word)));
    ids.Ids1.reserve(static_cast<std::size_t>(words1.Count()));
    for (const TWord& word : words1) ids.Ids1.push_back(interner.Intern(WordText(text1, word)));
    ids.Distinct = interner.Distinct();
    return ids;
}

}  // namespace rasp
