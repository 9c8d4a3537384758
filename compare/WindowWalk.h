#pragma once
// The comparison's walk: windows of N units slide over article 1, each is
// searched for in article 2 continuing after the previous match, and matched
// words of both articles take a colour of the six-colour cycle. The window's
// Compare command and the command-line companion both run this one walk on
// spans they hold themselves.

#include <vector>

#include "compare/RunPair.h"
#include "text/SpanLists.h"

namespace rasp {

enum TUnitKind : int { ukWords = 0, ukSentences = 1, ukParagraphs = 2 };

// How the match search finds its answers; the results are the same every
// way. Tests set these to reach each way and the hand-over between them.
struct TSearchOptions {
    // Work the quick pair lookup may spend before the suffix search takes
    // over; -1: linear in the articles' words.
    long long PairSearchBudget = -1;
    // The suffix search builds its per-length tables at once instead of when
    // they pay off.
    bool EagerLookupTables = false;
    // False keeps the suffix search on its suffix array for every window,
    // instead of hashing the tables of short word windows.
    bool HashedLookupTables = true;
};

// Article 1's units, which the windows are made of.
struct TWindowUnits {
    const TListWords& Words;
    const TListSentences& Sentences;
    const TListParagraphs& Paragraphs;
};

// The next window of the walk over article 1: advances the unit cursor
// (start it at -1) and gives the window as an inclusive range of word
// indices of article 1; false after the last one.
bool NextWindow(const TWindowUnits& units, int minLength, int unitKind, int& cursor, int& start, int& end);

struct TWalkResult {
    // One pair per matched stretch (consecutive windows that grew one run),
    // in the order the walk found them; pairs may overlap where the walk
    // re-coloured words.
    std::vector<TRunPair> Runs;
    int ColorIndex = 0;  // 0 when nothing matched, 1..6 afterwards
};

// The whole walk on freshly split (all white) word lists; the colours end up
// in the word lists. The texts are those the spans point into.
TWalkResult WalkWindows(TListWords& words1, const TListSentences& sentences1, const TListParagraphs& paragraphs1,
                        std::u16string_view text1, TListWords& words2, std::u16string_view text2, int minLength,
                        int unitKind, const TSearchOptions& options = {});

}  // namespace rasp
