#pragma once
// One comparison of two articles outside the window, in either mode, with
// left-out words and the figures around the percentage: what the
// command-line companion reports and what a collection scan runs per file.
//
// In order: the window's own comparison (windows of N units of article 1
// searched in article 2, continuing after the previous match), unchanged.
// Order-free: greedy string tiling of the words (AnyOrderMatch.h).

#include <string>
#include <vector>

#include "compare/Exclusions.h"
#include "compare/RunPair.h"
#include "compare/WordDictionary.h"
#include "text/SpanLists.h"

namespace rasp {

struct TMatchOptions {
    bool AnyOrder = false;
    int MinLength = 1;  // units; 1 or more
    int Unit = 0;       // TUnitKind; order-free matching works on words only
    bool IgnoreQuoted = false;
    std::vector<std::u16string> Phrases;  // left out wherever they occur
};

// An article as a comparison holds it: the normalised text, its spans (word
// colours as the comparison left them) and its left-out words.
struct TMatchArticle {
    std::u16string Text;
    TListWords Words;
    TListSentences Sentences;
    TListParagraphs Paragraphs;
    TWordFlags Excluded;  // one flag per word
    int ExcludedCount = 0;
};

// Splits the text and finds its left-out words.
TMatchArticle PrepareArticle(std::u16string text, const TMatchOptions& options);

struct TMatchFigures {
    int Words1 = 0;      // words taking part: all words but the left-out ones
    int Words2 = 0;
    int Excluded1 = 0;
    int Excluded2 = 0;
    int Matched1 = 0;    // highlighted words
    int Matched2 = 0;
    int Runs = 0;
    int LongestRun = 0;  // words
    double Percentage = 0;  // share of article 2's words matched, 0..100
    double Covered1 = 0;    // share of article 1's words matched, 0..100
};

struct TMatchResult {
    // In order: one pair per matched stretch (consecutive windows that grew
    // one run), in the order the walk found them; pairs may overlap where
    // the walk re-coloured words. Order-free: the tiles, ordered by their
    // start in article 2, never overlapping.
    std::vector<TRunPair> Runs;
    TMatchFigures Figures;
};

// Colours the words of both articles (they must be freshly prepared, all
// white) and returns the runs and figures.
TMatchResult MatchArticles(TMatchArticle& article1, TMatchArticle& article2, const TMatchOptions& options);

// Order-free matching against an article whose word ids were built once:
// `ids2` are article 2's ids in `dictionary2`; article 1's words are looked
// up there (a collection scan compares many files with one article).
TMatchResult MatchAnyOrder(TMatchArticle& article1, TMatchArticle& article2,
                           const TWordDictionary& dictionary2, const std::vector<std::int32_t>& ids2,
                           int minLength);

// The window's comparison alone, without left-out words: what the window
// would show for the two texts. Returns the runs in walk order.
std::vector<TRunPair> MatchInOrder(TMatchArticle& article1, TMatchArticle& article2, int minLength, int unit);

TMatchFigures CountFigures(const TMatchArticle& article1, const TMatchArticle& article2,
                           const std::vector<TRunPair>& runs);

}  // namespace rasp
