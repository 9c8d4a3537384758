#include "compare/WordDictionary.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "compare/MixHash.h"
#include "compare/WordText.h"

namespace rasp {

namespace {

// Four UTF-16 units at once, their ASCII capitals folded: a lane's top bit
// is set by the additions exactly when its value (top bit aside) is at
// least 'A', respectively past 'Z'; lanes with the top bit set are no
// letters. No addition carries into the next lane.
std::uint64_t FoldFour(std::uint64_t v) noexcept {
    constexpr std::uint64_t kLow = 0x7FFF7FFF7FFF7FFFULL;
    constexpr std::uint64_t kTop = 0x8000800080008000ULL;
    constexpr std::uint64_t kLane = 0x0001000100010001ULL;
    const std::uint64_t t = v & kLow;
    const std::uint64_t atLeastA = t + kLane * (0x8000 - u'A');
    const std::uint64_t pastZ = t + kLane * (0x8000 - u'Z' - 1);
    const std::uint64_t capital = atLeastA & ~pastZ & ~v & kTop;
    return v | (capital >> 10);  // 0x8000 >> 10 is the 0x20 of the small letters
}

std::uint64_t LoadFour(const char16_t* p) noexcept {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::uint64_t FoldedHash(std::u16string_view word) noexcept {
    std::uint64_t hash = 0xcbf29ce484222325ULL ^ word.size();
    const char16_t* p = word.data();
    std::size_t left = word.size();
    for (; left >= 4; p += 4, left -= 4) {
        hash = (hash ^ FoldFour(LoadFour(p))) * 0x100000001b3ULL;
        hash ^= hash >> 32;
    }
    for (; left > 0; ++p, --left) hash = (hash ^ FoldAscii(*p)) * 0x100000001b3ULL;
    return MixWordHash(hash);
}

bool SameFolded(std::u16string_view folded, std::u16string_view word) noexcept {
    if (folded.size() != word.size()) return false;
    std::size_t i = 0;
    for (; i + 4 <= word.size(); i += 4)
        if (LoadFour(folded.data() + i) != FoldFour(LoadFour(word.data() + i))) return false;
    for (; i < word.size(); ++i)
        if (folded[i] != FoldAscii(word[i])) return false;
    return true;
}

}  // namespace

TWordDictionary::TWordDictionary(std::size_t expected) {
    if (expected == 0) return;
    FSlots.assign(std::bit_ceil(std::max<std::size_t>(64, expected * 2)), -1);
    FHashes.reserve(expected);
    FStarts.reserve(expected + 1);
}

std::size_t TWordDictionary::SlotOf(std::u16string_view word, std::uint64_t hash) const {
    const std::size_t mask = FSlots.size() - 1;
    for (std::size_t slot = static_cast<std::size_t>(hash) & mask;; slot = (slot + 1) & mask) {
        const std::int32_t id = FSlots[slot];
        if (id < 0) return slot;
        const auto k = static_cast<std::size_t>(id);
        if (FHashes[k] == hash &&
            SameFolded(std::u16string_view(FPool).substr(FStarts[k], FStarts[k + 1] - FStarts[k]), word))
            return slot;
    }
}

void TWordDictionary::Grow() {
    const std::size_t capacity = FSlots.empty() ? 64 : FSlots.size() * 2;
    FSlots.assign(capacity, -1);
    const std::size_t mask = capacity - 1;
    for (std::size_t k = 0; k < FHashes.size(); ++k) {
        std::size_t slot = static_cast<std::size_t>(FHashes[k]) & mask;
        while (FSlots[slot] >= 0) slot = (slot + 1) & mask;
        FSlots[slot] = static_cast<std::int32_t>(k);
    }
}

std::int32_t TWordDictionary::Intern(std::u16string_view word) {
    if ((FHashes.size() + 1) * 2 > FSlots.size()) Grow();
    const std::uint64_t hash = FoldedHash(word);
    const std::size_t slot = SlotOf(word, hash);
    if (FSlots[slot] >= 0) return FSlots[slot];
    const auto id = static_cast<std::int32_t>(FHashes.size());
    for (const char16_t c : word) FPool.push_back(FoldAscii(c));
    FStarts.push_back(static_cast<std::uint32_t>(FPool.size()));
    FHashes.push_back(hash);
    FSlots[slot] = id;
    return id;
}

std::int32_t TWordDictionary::Find(std::u16string_view word) const {
    if (FSlots.empty()) return -1;
    return FSlots[SlotOf(word, FoldedHash(word))];
}

std::vector<std::int32_t> TWordDictionary::InternAll(const TListWords& words, std::u16string_view text) {
    std::vector<std::int32_t> ids;
    ids.reserve(static_cast<std::size_t>(words.Count()));
    for (const TWord& word : words) ids.push_back(Intern(WordText(text, word)));
    return ids;
}

std::vector<std::int32_t> TWordDictionary::FindAll(const TListWords& words, std::u16string_view text) const {
    std::vector<std::int32_t> ids;
    ids.reserve(static_cast<std::size_t>(words.Count()));
    for (const TWord& word : words) ids.push_back(Find(WordText(text, word)));
    return ids;
}

}  // namespace rasp
