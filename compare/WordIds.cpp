#include "compare/WordIds.h"

#include <algorithm>
#include <bit>

#include "compare/WordInterner.h"
#include "compare/WordText.h"

namespace rasp {

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
