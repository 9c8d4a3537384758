#include "compare/ArticleMatch.h"

#include <algorithm>

#include "compare/AnyOrderMatch.h"
#include "compare/ArticleComparer.h"
#include "text/SplitArticle.h"
#include "text/TextTrim.h"

namespace rasp {

namespace {

// Two private-use code units that occur in neither text.
std::pair<char16_t, char16_t> UnusedMarks(std::u16string_view text1, std::u16string_view text2) {
    std::vector<std::uint8_t> used(0xF900 - 0xE000, 0);
    for (const std::u16string_view text : {text1, text2})
        for (const char16_t c : text)
            if (c >= 0xE000 && c < 0xF900) used[c - 0xE000] = 1;
    char16_t marks[2] = {0, 0};
    int found = 0;
    for (std::size_t k = 0; k < used.size() && found < 2; ++k)
        if (!used[k]) marks[found++] = static_cast<char16_t>(0xE000 + k);
    return {marks[0], marks[1]};
}

// The text with every left-out word's characters replaced by `mark`: the
// words keep their places (the mark is a word character), and a mark that
// occurs in neither text matches nothing of the other article.
std::u16string Masked(const TMatchArticle& article, char16_t mark) {
    std::u16string text = article.Text;
    for (int k = 0; k < article.Words.Count(); ++k) {
        if (!article.Excluded[static_cast<std::size_t>(k)]) continue;
        const TWord& word = article.Words[k];
        for (std::int32_t p = word.StartPos; p < word.EndPos; ++p)
            if (p >= 1 && static_cast<std::size_t>(p) <= text.size()) text[static_cast<std::size_t>(p - 1)] = mark;
    }
    return text;
}

// With lentTexts the texts are the articles' own, moved out by the caller;
// they go back to the articles however the walk ends.
std::vector<TRunPair> WalkInOrder(TMatchArticle& article1, TMatchArticle& article2, std::u16string text1,
                                  std::u16string text2, int minLength, int unit, bool lentTexts = false) {
    TArticleComparer comparer;
    comparer.FText1 = std::move(text1);
    comparer.FText2 = std::move(text2);
    struct TTextsBack {
        TArticleComparer& Comparer;
        TMatchArticle& Article1;
        TMatchArticle& Article2;
        bool Lent;
        ~TTextsBack() {
            if (!Lent) return;
            Article1.Text = std::move(Comparer.FText1);
            Article2.Text = std::move(Comparer.FText2);
        }
    } textsBack{comparer, article1, article2, lentTexts};
    // As the Compare command: a blank article changes nothing.
    if (TrimBlanks(comparer.FText1).empty() || TrimBlanks(comparer.FText2).empty()) return {};

    comparer.FWords1 = std::move(article1.Words);
    comparer.FSentences1 = std::move(article1.Sentences);
    comparer.FParagraphs1 = std::move(article1.Paragraphs);
    comparer.FWords2 = std::move(article2.Words);
    comparer.FSentences2 = std::move(article2.Sentences);
    comparer.FParagraphs2 = std::move(article2.Paragraphs);
    comparer.FColorIndex = 0;
    comparer.FMinLength = TArticleComparer::WindowLength(minLength);
    comparer.FUnitKind = unit;

    std::vector<TRunPair> runs;
    struct TGiveBack {
        TArticleComparer& Comparer;
        TMatchArticle& Article1;
        TMatchArticle& Article2;
        ~TGiveBack() {
            Comparer.DropFindMatch();
            Article1.Words = std::move(Comparer.FWords1);
            Article2.Words = std::move(Comparer.FWords2);
            Article1.Sentences = std::move(Comparer.FSentences1);
            Article1.Paragraphs = std::move(Comparer.FParagraphs1);
            Article2.Sentences = std::move(Comparer.FSentences2);
            Article2.Paragraphs = std::move(Comparer.FParagraphs2);
        }
    } giveBack{comparer, article1, article2};

    comparer.PrepareFindMatch();
    int cursor = -1;
    int resumePos = -1;
    int start = -1;
    int end = -1;
    int m0 = -1;
    int m1 = -1;
    while (comparer.NextWindow(cursor, start, end)) {
        const int colourBefore = comparer.FColorIndex;
        if (!comparer.FindMatchHeld(start, end, resumePos, m0, m1)) continue;
        // A window that kept the colour and lies on the same diagonal, touching
        // the previous pair, grows it; anything else is a pair of its own.
        if (!runs.empty()) {
            TRunPair& last = runs.back();
            if (comparer.FColorIndex == colourBefore && start - m0 == last.Start1 - last.Start2 &&
                start >= last.Start1 && start <= last.End1 + 1) {
                last.End1 = std::max(last.End1, end);
                last.End2 = std::max(last.End2, m1);
                continue;
            }
        }
        runs.push_back({start, end, m0, m1});
    }
    comparer.CollectColours();
    return runs;
}

}  // namespace

TMatchArticle PrepareArticle(std::u16string text, const TMatchOptions& options) {
    TMatchArticle article;
    article.Text = std::move(text);
    SplitArticle(article.Text, article.Words, article.Sentences, article.Paragraphs);
    article.Excluded.assign(static_cast<std::size_t>(article.Words.Count()), 0);
    if (options.IgnoreQuoted) AddFlags(article.Excluded, QuotedWords(article.Words, article.Text));
    if (!options.Phrases.empty())
        AddFlags(article.Excluded, PhraseWords(article.Words, article.Text, options.Phrases));
    article.ExcludedCount = CountFlags(article.Excluded);
    return article;
}

TMatchFigures CountFigures(const TMatchArticle& article1, const TMatchArticle& article2,
                           const std::vector<TRunPair>& runs) {
    TMatchFigures figures;
    figures.Excluded1 = article1.ExcludedCount;
    figures.Excluded2 = article2.ExcludedCount;
    figures.Words1 = article1.Words.Count() - article1.ExcludedCount;
    figures.Words2 = article2.Words.Count() - article2.ExcludedCount;
    for (const TWord& word : article1.Words) figures.Matched1 += word.Color != kWordUnhighlighted;
    for (const TWord& word : article2.Words) figures.Matched2 += word.Color != kWordUnhighlighted;
    figures.Runs = static_cast<int>(runs.size());
    for (const TRunPair& run : runs) figures.LongestRun = std::max(figures.LongestRun, run.Words());
    // The same sum as the window's percentage, so that it agrees to the last bit.
    const double words2 = figures.Words2;
    figures.Percentage = words2 > 0 ? figures.Matched2 / words2 * 100 : 0.0;
    const double words1 = figures.Words1;
    figures.Covered1 = words1 > 0 ? figures.Matched1 / words1 * 100 : 0.0;
    return figures;
}

std::vector<TRunPair> MatchInOrder(TMatchArticle& article1, TMatchArticle& article2, int minLength, int unit) {
    // The walk needs the texts only while it runs: lend them rather than copy
    // them, so that a pair of long articles is held once.
    std::u16string text1 = std::move(article1.Text);
    std::u16string text2 = std::move(article2.Text);
    return WalkInOrder(article1, article2, std::move(text1), std::move(text2), minLength, unit, true);
}

TMatchResult MatchAnyOrder(TMatchArticle& article1, TMatchArticle& article2,
                           const TWordDictionary& dictionary2, const std::vector<std::int32_t>& ids2,
                           int minLength) {
    std::vector<std::int32_t> tokens1 = LookUpWords(dictionary2, article1.Words, article1.Text);
    std::vector<std::int32_t> tokens2 = ids2;
    for (std::size_t k = 0; k < tokens1.size() && k < article1.Excluded.size(); ++k)
        if (article1.Excluded[k]) tokens1[k] = -1;
    for (std::size_t k = 0; k < tokens2.size() && k < article2.Excluded.size(); ++k)
        if (article2.Excluded[k]) tokens2[k] = -1;
    TMatchResult result;
    result.Runs = TileTokens(tokens1, tokens2, minLength);
    ColourRunPairs(result.Runs, article1.Words, article2.Words);
    result.Figures = CountFigures(article1, article2, result.Runs);
    return result;
}

TMatchResult MatchArticles(TMatchArticle& article1, TMatchArticle& article2, const TMatchOptions& options) {
    if (options.AnyOrder) {
        TWordDictionary dictionary;
        const std::vector<std::int32_t> ids2 = InternWords(dictionary, article2.Words, article2.Text);
        return MatchAnyOrder(article1, article2, dictionary, ids2, options.MinLength);
    }
    TMatchResult result;
    if (article1.ExcludedCount == 0 && article2.ExcludedCount == 0) {
        result.Runs = MatchInOrder(article1, article2, options.MinLength, options.Unit);
    } else {
        const auto [mark1, mark2] = UnusedMarks(article1.Text, article2.Text);
        result.Runs = WalkInOrder(article1, article2, Masked(article1, mark1), Masked(article2, mark2),
                                  options.MinLength, options.Unit);
    }
    result.Figures = CountFigures(article1, article2, result.Runs);
    return result;
}

}  // namespace rasp
