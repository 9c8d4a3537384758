#pragma once
// The article segmenter: one linear pass that turns an article's text into its
// word, sentence and paragraph spans.

#include <string_view>

#include "text/SpanLists.h"

namespace rasp {

// The eight separators: LF, CR, space, '!', ',', '.', ';', '?'. Every other
// code unit (tab, ':', quotes, dashes, digits, non-ASCII) is a word character.
constexpr bool IsSeparator(char16_t c) noexcept {
    return c < 64 && ((0x8800500300002400ULL >> c) & 1U) != 0;
}
// LF, CR, '!', '.', '?': the separators that end a sentence.
constexpr bool IsSentenceEnd(char16_t c) noexcept {
    return c < 64 && ((0x8000400200002400ULL >> c) & 1U) != 0;
}
constexpr bool IsParagraphEnd(char16_t c) noexcept { return c == u'\n' || c == u'\r'; }

// Clears the three lists and refills them from `Text` (CR LF line breaks;
// positions in the word spans are 1-based code-unit positions).
void SplitArticle(std::u16string_view Text, TListWords& Words, TListSentences& Sentences,
                  TListParagraphs& Paragraphs);

}  // namespace rasp
