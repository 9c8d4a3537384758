#pragma once
// Span records of an article: a word is a range of 1-based character positions
// with an exclusive end and a highlight colour; sentences and paragraphs are
// inclusive ranges of 0-based word indices.

#include <cstdint>

namespace rasp {

// 0x00BBGGRR; white means the word is not highlighted.
inline constexpr std::uint32_t kWordUnhighlighted = 0xFFFFFF;

struct TWord {
    std::int32_t StartPos = 0;  // 1-based position of the first character
    std::int32_t EndPos = 0;    // 1-based position one past the last character
    std::uint32_t Color = kWordUnhighlighted;
};

struct TSentence {
    std::int32_t FirstWord = 0;
    std::int32_t LastWord = 0;  // inclusive
};

struct TParagraph {
    std::int32_t FirstWord = 0;
    std::int32_t LastWord = 0;  // inclusive
};

}  // namespace rasp
