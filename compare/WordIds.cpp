#include "compare/WordIds.h"

#include <algorithm>

#include "compare/WordDictionary.h"

namespace rasp {

TWordIds InternWords(const TListWords& words1, std::u16string_view text1, const TListWords& words2,
                     std::u16string_view text2) {
    // Sized for the distinct words of an ordinary article; the table grows when needed.
    TWordDictionary dictionary(static_cast<std::size_t>(std::min(words1.Count() + words2.Count(), 1 << 16)));
    TWordIds ids;
    ids.Ids2 = dictionary.InternAll(words2, text2);
    ids.Ids1 = dictionary.InternAll(words1, text1);
    ids.Distinct = dictionary.Size();
    return ids;
}

}  // namespace rasp
