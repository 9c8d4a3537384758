#pragma once
// Every word of both articles as an integer id shared by the two articles:
// two words get the same id exactly when they match (equal after folding
// the ASCII letters).

#include <cstdint>
#include <string_view>
#include <vector>

#include "text/SpanLists.h"

namespace rasp {

struct TWordIds {
    std::vector<std::int32_t> Ids1;
    std::vector<std::int32_t> Ids2;
    std::int32_t Distinct = 0;  // ids are 0 .. Distinct - 1
};

// Article 2's words are numbered first, so its ids are 0 .. (its distinct words) - 1.
TWordIds InternWords(const TListWords& words1, std::u16string_view text1, const TListWords& words2,
                     std::u16string_view text2);

}  // namespace rasp
