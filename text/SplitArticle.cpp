#include "text/SplitArticle.h"

namespace rasp {

void SplitArticle(std::u16string_view Text, TListWords& Words, TListSentences& Sentences,
                  TListParagraphs& Paragraphs) {
    Words.ClearAll();
    Sentences.ClearAll();
    Paragraphs.ClearAll();

    // Positions are 32-bit in the span records; a text beyond that cannot be
    // addressed, so only its addressable part is segmented.
    const std::size_t length = Text.size() < 0x7FFFFFFEu ? Text.size() : 0x7FFFFFFEu;

    // Counting the words first costs less than growing the list, and a list
    // of exactly their size is the largest block a comparison holds.
    const char16_t* const text = Text.data();
    std::size_t words = 0;
    bool afterSeparator = true;
    for (std::size_t index = 0; index < length; ++index) {
        const bool separator = IsSeparator(text[index]);
        words += static_cast<std::size_t>(afterSeparator && !separator);
        afterSeparator = separator;
    }
    Words.Reserve(static_cast<int>(words));

    std::int32_t sentenceFirst = -1;
    std::int32_t paragraphFirst = -1;
    std::size_t index = 0;
    while (index < length) {
        const char16_t c = text[index];
        if (IsSeparator(c)) {
            if (sentenceFirst != -1 && IsSentenceEnd(c)) {
                Sentences.AddSentence(sentenceFirst, Words.Count() - 1);
                sentenceFirst = -1;
            }
            if (paragraphFirst != -1 && IsParagraphEnd(c)) {
                Paragraphs.AddParagraph(paragraphFirst, Words.Count() - 1);
                paragraphFirst = -1;
            }
            ++index;
            continue;
        }
        // A word: its characters up to the next separator, in one go.
        if (sentenceFirst == -1) sentenceFirst = Words.Count();
        if (paragraphFirst == -1) paragraphFirst = Words.Count();
        const std::size_t wordStart = index;
        do ++index;
        while (index < length && !IsSeparator(text[index]));
        // 1-based, the end one past the last character (past the text for a last word).
        Words.AddWord(static_cast<std::int32_t>(wordStart + 1), static_cast<std::int32_t>(index + 1),
                      kWordUnhighlighted);
    }

    if (sentenceFirst != -1) Sentences.AddSentence(sentenceFirst, Words.Count() - 1);
    if (paragraphFirst != -1) Paragraphs.AddParagraph(paragraphFirst, Words.Count() - 1);
}

}  // namespace rasp
