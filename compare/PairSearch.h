#pragma once
// The quick search for ordinary articles: the positions of article 2 are
// grouped by their first word and by their first two words, and a window is
// compared word by word at the positions that hold its first words. On
// ordinary text that is the fastest way there is; on texts of a few words
// repeated it would be quadratic, so every call is charged its work against
// a budget shared by the whole comparison, and once the budget is spent the
// search hands over (TWindowSearch) with nothing changed by the call it
// broke off.

#include <cstdint>
#include <string_view>

#include "compare/MatchIndex.h"
#include "text/SpanLists.h"

namespace rasp {

class TPairSearch {
public:
    TPairSearch(TListWords& words1, std::u16string_view text1, TListWords& words2, std::u16string_view text2,
                std::int64_t budget);

    enum class TResult { NotFound, Found, OutOfBudget };
    // As the word-by-word search, colours read from and written to the word
    // lists. OutOfBudget: nothing changed, ResumePos and colorIndex included.
    TResult FindMatch(int A0, int A1, int& ResumePos, int& M0, int& M1, int& colorIndex);

private:
    TListWords& FWords1;
    TListWords& FWords2;
    TMatchIndex FIndex;
    std::int64_t FBudget;
};

}  // namespace rasp
