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

    std::int32_t wordStart = -1;
    std::int32_t sentenceFirst = -1;
    std::int32_t paragraphFirst = -1;
    const char16_t* const text = Text.data();

    for (std::size_t index = 0; index < length; ++index) {
        const char16_t c = text[index];
        const auto position = static_cast<std::int32_t>(index + 1);
        if (IsSeparator(c)) {
            if (wordStart != -1) {
                Words.AddWord(wordStart, position, kWordUnhighlighted);
                wordStart = -1;
            }
            if (sentenceFirst != -1 && IsSentenceEnd(c)) {
                Sentences.AddSentence(sentenceFirst, Words.Count() - 1);
                sentenceFirst = -1;
            }
            if (paragraphFirst != -1 && IsParagraphEnd(c)) {
                Paragraphs.AddParagraph(paragraphFirst, Words.Count() - 1);
                paragraphFirst = -1;
            }
        } else if (wordStart == -1) {
            wordStart = position;
            if (sentenceFirst == -1) sentenceFirst = Words.Count();
            if (paragraphFirst == -1) paragraphFirst = Words.Count();
        }
    }

    const auto end = static_cast<std::int32_t>(length + 1);
    if (wordStart != -1) Words.AddWord(wordStart, end, kWordUnhighlighted);
    if (sentenceFirst != -1) Sentences.AddSentence(sentenceFirst, Words.Count() - 1);
    if (paragraphFirst != -1) Paragraphs.AddParagraph(paragraphFirst, Words.Count() - 1);
}

}  // namespace rasp
