// The indexed match search against the literal one on fuzzer-chosen
// articles: the first two bytes pick the window length and unit kind, the
// rest is split at the first 0xFF byte into the two articles, each byte
// standing for a character of a small alphabet so that matches are common.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "compare/ArticleComparer.h"
#include "tests/compare/LiteralComparer.h"
#include "text/SplitArticle.h"

namespace {

std::u16string Article(const std::uint8_t* data, std::size_t size) {
    static const char16_t kAlphabet[] = u"aAbB \r\n.,;!?:\u00E9\u00C9\tc";
    std::u16string text;
    for (std::size_t i = 0; i < size; ++i) text.push_back(kAlphabet[data[i] % 17]);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || size > 4096) return 0;
    // Mostly short windows, now and then up to 64 words.
    const int length = data[0] < 192 ? 1 + data[0] % 8 : 1 + data[0] % 64;
    const int kind = data[1] % 4;
    std::size_t split = 2;
    while (split < size && data[split] != 0xFF) ++split;
    const std::u16string text1 = Article(data + 2, split - 2);
    const std::u16string text2 = split < size ? Article(data + split + 1, size - split - 1) : u"";

    rasp::TArticleComparer engine;
    engine.FSearch.EagerLookupTables = (data[1] & 4) != 0;
    engine.FSearch.HashedLookupTables = (data[1] & 16) == 0;
    engine.FText1 = text1;
    engine.FText2 = text2;
    engine.FMinLength = length;
    engine.FUnitKind = kind;
    rasp::SplitArticle(text1, engine.FWords1, engine.FSentences1, engine.FParagraphs1);
    rasp::SplitArticle(text2, engine.FWords2, engine.FSentences2, engine.FParagraphs2);

    rasp::reference::TLiteralComparer literal;
    literal.Text1 = text1;
    literal.Text2 = text2;
    literal.MinLength = length;
    literal.UnitKind = kind;
    rasp::TListSentences sentences2;
    rasp::TListParagraphs paragraphs2;
    rasp::SplitArticle(text1, literal.Words1, literal.Sentences1, literal.Paragraphs1);
    rasp::SplitArticle(text2, literal.Words2, sentences2, paragraphs2);

    int cursorE = -1, cursorL = -1, resumeE = -1, resumeL = -1;
    for (;;) {
        int s1 = 0, e1 = 0, s2 = 0, e2 = 0;
        const bool more = engine.NextWindow(cursorE, s1, e1);
        if (more != literal.NextWindow(cursorL, s2, e2) || s1 != s2 || e1 != e2) std::abort();
        if (!more) break;
        int m0e = -9, m1e = -9, m0l = -9, m1l = -9;
        const bool fe = engine.FindMatch(s1, e1, resumeE, m0e, m1e);
        const bool fl = literal.FindMatch(s2, e2, resumeL, m0l, m1l);
        if (fe != fl || m0e != m0l || m1e != m1l || resumeE != resumeL ||
            engine.FColorIndex != literal.ColorIndex)
            std::abort();
    }
    for (int i = 0; i < engine.FWords1.Count(); ++i)
        if (engine.FWords1[i].Color != literal.Words1[i].Color) std::abort();
    for (int i = 0; i < engine.FWords2.Count(); ++i)
        if (engine.FWords2[i].Color != literal.Words2[i].Color) std::abort();

    // The whole walk in one go, colours written at the end, as the Compare
    // command runs it.
    rasp::TArticleComparer walk;
    walk.FText1 = text1;
    walk.FText2 = text2;
    walk.FSearch.PairSearchBudget = data[0] % 3 == 0 ? -1 : data[1] * 4;  // hand-over at some window
    walk.FSearch.EagerLookupTables = (data[1] & 8) != 0;
    walk.FSearch.HashedLookupTables = (data[1] & 32) == 0;
    const rasp::TCompareOutcome outcome = walk.CompareStored(length, kind, 1.0);
    if (outcome.Ran) {
        if (walk.FWords1.Count() != literal.Words1.Count() || walk.FWords2.Count() != literal.Words2.Count())
            std::abort();
        for (int i = 0; i < walk.FWords1.Count(); ++i)
            if (walk.FWords1[i].Color != literal.Words1[i].Color) std::abort();
        for (int i = 0; i < walk.FWords2.Count(); ++i)
            if (walk.FWords2[i].Color != literal.Words2[i].Color) std::abort();
    }
    return 0;
}
