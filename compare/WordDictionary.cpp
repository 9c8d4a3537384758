#include "compare/WordDictionary.h"

#include "compare/WordText.h"

namespace rasp {

namespace {

std::uint64_t FoldedHash(std::u16string_view word) noexcept {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char16_t c : word) {
        hash ^= FoldAscii(c);
        hash *= 0x100000001b3ULL;
    }
    return hash ^ (hash >> 29);
}

bool SameFolded(std::u16string_view folded, std::u16string_view word) noexcept {
    if (folded.size() != word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (folded[i] != FoldAscii(word[i])) return false;
    return true;
}

}  // namespace

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

std::vector<std::int32_t> InternWords(TWordDictionary& dictionary, const TListWords& words,
                                      std::u16string_view text) {
    std::vector<std::int32_t> ids;
    ids.reserve(static_cast<std::size_t>(words.Count()));
    for (const TWord& word : words) ids.push_back(dictionary.Intern(WordText(text, word)));
    return ids;
}

std::vector<std::int32_t> LookUpWords(const TWordDictionary& dictionary, const TListWords& words,
                                      std::u16string_view text) {
    std::vector<std::int32_t> ids;
    ids.reserve(static_cast<std::size_t>(words.Count()));
    for (const TWord& word : words) ids.push_back(dictionary.Find(WordText(text, word)));
    return ids;
}

}  // namespace rasp
