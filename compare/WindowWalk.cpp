#include "compare/WindowWalk.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "compare/HighlightColor.h"
#include "compare/PairSearch.h"
#include "compare/WindowSearch.h"
#include "compare/WordText.h"

namespace rasp {

namespace {

bool SameFoldedWord(std::u16string_view a, std::u16string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

// Two white word lists that match word for word. A word walk over them finds
// every window at its own place in article 2 (the search starts there, and
// everything it meets there is white or of the current colour), and no
// window starts a new run: the result is known without walking.
bool MatchWordForWord(const TListWords& words1, std::u16string_view text1, const TListWords& words2,
                      std::u16string_view text2) {
    if (words1.Count() != words2.Count() || words1.Count() == 0) return false;
    for (int k = 0; k < words1.Count(); ++k) {
        if (words1[k].Color != kWordUnhighlighted || words2[k].Color != kWordUnhighlighted) return false;
        if (!SameFoldedWord(WordText(text1, words1[k]), WordText(text2, words2[k]))) return false;
    }
    return true;
}

TWalkResult OneRunOverAll(TListWords& words1, TListWords& words2) {
    const TColor color = HighlightColor(1);
    for (TWord& word : words1) word.Color = color;
    for (TWord& word : words2) word.Color = color;
    TWalkResult result;
    result.ColorIndex = 1;
    result.Runs.push_back({0, words1.Count() - 1, 0, words2.Count() - 1});
    return result;
}

// A window that kept the colour and lies on the same diagonal, touching the
// previous pair, grows it; anything else is a pair of its own.
void AddRun(std::vector<TRunPair>& runs, bool sameColour, int start, int end, int m0, int m1) {
    if (!runs.empty() && sameColour) {
        TRunPair& last = runs.back();
        if (start - m0 == last.Start1 - last.Start2 && start >= last.Start1 && start <= last.End1 + 1) {
            last.End1 = std::max(last.End1, end);
            last.End2 = std::max(last.End2, m1);
            return;
        }
    }
    runs.push_back({start, end, m0, m1});
}

}  // namespace

bool NextWindow(const TWindowUnits& units, int minLength, int unitKind, int& cursor, int& start, int& end) {
    start = -1;
    end = -1;
    // Windows are at least one unit long; longer ones are clipped to the last unit.
    const long long length = minLength >= 1 ? minLength : 1;
    auto lastUnit = [&](int count) {
        const long long last = static_cast<long long>(count) - 1;
        return static_cast<int>(last < cursor + length ? last : cursor + length - 1);
    };
    switch (unitKind) {
        case ukWords: {
            ++cursor;
            const int count = units.Words.Count();
            if (cursor > count - 1) return false;
            end = lastUnit(count);
            start = cursor;
            return start != -1 && end != -1;
        }
        case ukSentences:
        case ukParagraphs: {
            ++cursor;
            const int count = unitKind == ukSentences ? units.Sentences.Count() : units.Paragraphs.Count();
            if (cursor > count - 1) return false;
            const int last = lastUnit(count);
            if (cursor == -1 || last == -1) return false;
            if (unitKind == ukSentences) {
                start = units.Sentences[cursor].FirstWord;
                end = units.Sentences[last].LastWord;
            } else {
                start = units.Paragraphs[cursor].FirstWord;
                end = units.Paragraphs[last].LastWord;
            }
            return true;
        }
        default:
            return false;
    }
}

TWalkResult WalkWindows(TListWords& words1, const TListSentences& sentences1, const TListParagraphs& paragraphs1,
                        std::u16string_view text1, TListWords& words2, std::u16string_view text2, int minLength,
                        int unitKind, const TSearchOptions& options) {
    if (unitKind == ukWords && MatchWordForWord(words1, text1, words2, text2)) return OneRunOverAll(words1, words2);

    // Ordinary articles are done quickest by the pair lookup; once it has
    // spent a budget linear in the articles (texts of a few words repeated),
    // the suffix search takes over from the window where it stopped. That
    // one works on colours it holds itself and writes them into the word
    // lists once at the end, so a long window costs no more than a short one.
    // The budget is enough for ordinary articles of some 50,000 words to be
    // done by the pair lookup alone. On far longer ones the suffix search is
    // quicker from the start: building the pair lookup would be wasted.
    const std::int64_t words = static_cast<std::int64_t>(words1.Count()) + words2.Count();
    const std::int64_t budget = options.PairSearchBudget >= 0 ? options.PairSearchBudget
                                : words > 400000              ? -1
                                                              : 4000000 + 8 * words;
    std::optional<TPairSearch> pairs;
    if (budget >= 0) pairs.emplace(words1, text1, words2, text2, budget);
    std::optional<TWindowSearch> index;
    const TWindowUnits units{words1, sentences1, paragraphs1};
    TWalkResult result;
    int& colorIndex = result.ColorIndex;
    int cursor = -1;
    int resumePos = -1;
    int start = -1;
    int end = -1;
    int m0 = -1;
    int m1 = -1;
    while (NextWindow(units, minLength, unitKind, cursor, start, end)) {
        const int colourBefore = colorIndex;
        bool found = false;
        const TPairSearch::TResult quick =
            pairs ? pairs->FindMatch(start, end, resumePos, m0, m1, colorIndex) : TPairSearch::TResult::OutOfBudget;
        if (quick != TPairSearch::TResult::OutOfBudget) {
            found = quick == TPairSearch::TResult::Found;
        } else {
            if (!index) {
                pairs.reset();
                TWindowSearchOptions search;
                search.WordWindow = unitKind == ukWords ? std::max(minLength, 1) : 0;
                search.Hashed = options.HashedLookupTables;
                search.EagerTables = options.EagerLookupTables;
                index.emplace(words1, text1, words2, text2, search);  // from the colours the lists hold now
            }
            found = index->FindMatch(start, end, resumePos, m0, m1, colorIndex);
        }
        if (found) AddRun(result.Runs, colorIndex == colourBefore, start, end, m0, m1);
    }
    if (index) index->CopyColours(words1, words2);
    return result;
}

}  // namespace rasp
