#pragma once
// The text of a word: EndPos - StartPos characters of the article text from
// the 1-based StartPos, cut the way a Pascal-style string copy cuts (a start
// before the text counts as 1, anything past the end is dropped), so spans
// that do not fit the text never read outside it.

#include <string_view>

#include "text/Spans.h"

namespace rasp {

inline std::u16string_view CopyText(std::u16string_view text, long long index, long long count) {
    if (index < 1) index = 1;
    const auto size = static_cast<long long>(text.size());
    if (count <= 0 || index > size) return {};
    if (count > size - index + 1) count = size - index + 1;
    return text.substr(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
}

inline std::u16string_view WordText(std::u16string_view text, const TWord& word) {
    return CopyText(text, word.StartPos, static_cast<long long>(word.EndPos) - word.StartPos);
}

// Matching folds only the ASCII letters.
constexpr char16_t FoldAscii(char16_t c) noexcept {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

}  // namespace rasp
