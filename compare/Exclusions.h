#pragma once
// Words left out of a comparison: passages in quotation marks, and every
// occurrence of boilerplate phrases. A left-out word is neither matched nor
// unmatched: no run may contain it, and it does not count among the words
// the percentages are shares of.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/SpanLists.h"

namespace rasp {

// One flag per word; non-zero means left out.
using TWordFlags = std::vector<std::uint8_t>;

// Words that lie wholly or partly in a quoted passage, marks included. A
// passage opens at '"', U+201C or U+00AB and closes at the next '"',
// U+201D or U+00BB respectively; one that is not closed by the end of its
// paragraph ends there, so a stray mark costs one paragraph at most.
TWordFlags QuotedWords(const TListWords& words, std::u16string_view text);

// Words covered by an occurrence of one of the phrases (matched word by word
// under the comparison's rule: ASCII letter case ignored, punctuation
// attached to a word is part of it). Occurrences may overlap. Phrases
// without words are ignored.
TWordFlags PhraseWords(const TListWords& words, std::u16string_view text,
                       const std::vector<std::u16string>& phrases);

// The phrases of an exclusion list: one per line, lines without words dropped.
std::vector<std::u16string> PhraseLines(std::u16string_view list);

// Sets every flag of `into` that is set in `from`.
void AddFlags(TWordFlags& into, const TWordFlags& from);
int CountFlags(const TWordFlags& flags);

}  // namespace rasp
