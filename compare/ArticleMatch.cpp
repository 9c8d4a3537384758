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

// The window's walk on the articles' own spans, over the given texts (the
// articles' own or masked copies).
std::vector<TRunPair> WalkInOrder(TMatchArticle& article1, TMatchArticle& article2, std::u16string_view text1,
                                  std::u16string_view text2, int minLength, int unit) {
    // As the Compare command: a blank article changes nothing.
    if (TrimBlanks(text1).empty() || TrimBlanks(text2).empty()) return {};
    return WalkWindows(article1.Words, article1.Sentences, article1.Paragraphs, text1, article2.Words, text2,
                       TArticleComparer::WindowLength(minLength), unit)
        .Runs;
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
    return WalkInOrder(article1, article2, article1.Text, article2.Text, minLength, unit);
}

TMatchResult MatchAnyOrder(TMatchArticle& article1, TMatchArticle& article2,
                           const TWordDictionary& dictionary2, const std::vector<std::int32_t>& ids2,
                           int minLength) {
    std::vector<std::int32_t> tokens1 = dictionary2.FindAll(article1.Words, article1.Text);
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
        const std::vector<std::int32_t> ids2 = dictionary.InternAll(article2.Words, article2.Text);
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
