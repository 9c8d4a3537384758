#pragma once
// Word texts interned into dense ids 0, 1, 2, ... under the matching rule of
// the comparison: equal after folding the ASCII letters, everything else
// compared unchanged. The match searches, the order-free matcher and the
// collection scan work on these ids instead of on the texts. The dictionary
// keeps its own folded copy of each distinct word, so it outlives the texts.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/SpanLists.h"

namespace rasp {

class TWordDictionary {
public:
    // Room for `expected` distinct words before the table grows.
    explicit TWordDictionary(std::size_t expected = 0);

    // The id of the word, adding it when it is new. Ids count up from 0.
    std::int32_t Intern(std::u16string_view word);
    // The id of the word, or -1 when the dictionary does not hold it.
    std::int32_t Find(std::u16string_view word) const;
    int Size() const noexcept { return static_cast<int>(FStarts.size()) - 1; }

    // One id per word of `words`, interning new words.
    std::vector<std::int32_t> InternAll(const TListWords& words, std::u16string_view text);
    // One id per word of `words`; words the dictionary lacks get -1.
    std::vector<std::int32_t> FindAll(const TListWords& words, std::u16string_view text) const;

private:
    std::size_t SlotOf(std::u16string_view word, std::uint64_t hash) const;
    void Grow();

    std::u16string FPool;                       // folded texts, one after another
    std::vector<std::uint32_t> FStarts{0};      // word k is FPool[FStarts[k], FStarts[k + 1])
    std::vector<std::uint64_t> FHashes;         // hash of word k
    std::vector<std::int32_t> FSlots;           // open addressing, -1 free
};

}  // namespace rasp
