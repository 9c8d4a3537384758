#include "compare/ArticleComparer.h"

#include <cmath>
#include <limits>
#include <optional>

#include "compare/HighlightRender.h"
#include "compare/PairSearch.h"
#include "compare/WindowSearch.h"
#include "text/SplitArticle.h"
#include "text/TextTrim.h"

namespace rasp {

namespace {

// Comparing stays true for exactly the length of one comparison, however it
// ends; the lookup built for it goes with it.
class TComparingScope {
public:
    explicit TComparingScope(TArticleComparer& comparer) : FComparer(comparer) {
        FComparer.Comparing = true;
    }
    ~TComparingScope() {
        FComparer.DropFindMatch();
        FComparer.Comparing = false;
    }
    TComparingScope(const TComparingScope&) = delete;
    TComparingScope& operator=(const TComparingScope&) = delete;

private:
    TArticleComparer& FComparer;
};

}  // namespace

TArticleComparer::TArticleComparer() = default;
TArticleComparer::~TArticleComparer() = default;

int TArticleComparer::WindowLength(double minNumWords) noexcept {
    if (!(minNumWords >= 1.0)) return 1;  // also NaN
    if (minNumWords >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(std::trunc(minNumWords));
}

TCompareOutcome TArticleComparer::CompareEx(IRichTextPane& rchArticle1, IRichTextPane& rchArticle2,
                                            double minNumWords, int cbxTypeIndex,
                                            double edtWords2Value) {
    if (TrimBlanks(FText1).empty() || TrimBlanks(FText2).empty()) return {};
    TComparingScope scope(*this);
    RunComparison(rchArticle1.GetText(), rchArticle2.GetText(), minNumWords, cbxTypeIndex);
    // The rebuild replaces every format of both panes; clearing them first as
    // well would only make a large pane lay out its whole text once more.
    RenderHighlights(rchArticle1, FWords1, FText1);
    RenderHighlights(rchArticle2, FWords2, FText2);
    return Outcome(edtWords2Value);
}

TCompareOutcome TArticleComparer::CompareStored(double minNumWords, int cbxTypeIndex,
                                                double edtWords2Value) {
    if (TrimBlanks(FText1).empty() || TrimBlanks(FText2).empty()) return {};
    TComparingScope scope(*this);
    RunComparison(FText1, FText2, minNumWords, cbxTypeIndex);
    return Outcome(edtWords2Value);
}

bool TArticleComparer::RunComparison(const std::u16string& text1, const std::u16string& text2,
                                     double minNumWords, int cbxTypeIndex) {
    FColorIndex = 0;
    FMinLength = WindowLength(minNumWords);
    FUnitKind = cbxTypeIndex;
    // The texts may be the stored ones, which segmentation does not change.
    SplitArticle(text1, FWords1, FSentences1, FParagraphs1);
    SplitArticle(text2, FWords2, FSentences2, FParagraphs2);

    // Ordinary articles are done quickest by the pair lookup; once it has
    // spent a budget linear in the articles (texts of a few words repeated),
    // the suffix search takes over from the window where it stopped. That
    // one works on colours it holds itself and writes them into the word
    // lists once at the end, so a long window costs no more than a short one.
    DropFindMatch();
    // Enough for ordinary articles of some 50,000 words to be done by the
    // pair lookup alone. On far longer ones the suffix search is quicker
    // from the start: building the pair lookup would be wasted.
    const std::int64_t words = static_cast<std::int64_t>(FWords1.Count()) + FWords2.Count();
    const std::int64_t budget = FPairSearchBudget >= 0 ? FPairSearchBudget
                                : words > 400000    ? -1
                                                    : 4000000 + 8 * words;
    std::optional<TPairSearch> pairs;
    if (budget >= 0) pairs.emplace(FWords1, FText1, FWords2, FText2, budget);
    int cursor = -1;
    int resumePos = -1;
    int start = -1;
    int end = -1;
    int m0 = -1;
    int m1 = -1;
    while (NextWindow(cursor, start, end)) {
        if (pairs && pairs->FindMatch(start, end, resumePos, m0, m1, FColorIndex) !=
                         TPairSearch::TResult::OutOfBudget)
            continue;
        if (!FIndex) {
            pairs.reset();
            PrepareFindMatch();  // from the colours the lists hold now
        }
        FIndex->FindMatch(start, end, resumePos, m0, m1, FColorIndex);
    }
    if (!FIndex) return true;
    FIndex->CopyColours(FWords1, FWords2);
    return true;
}

TCompareOutcome TArticleComparer::Outcome(double edtWords2Value) const {
    const int highlighted = HighlightedWords2();
    TCompareOutcome outcome;
    outcome.Ran = true;
    outcome.Percentage = edtWords2Value > 0 ? highlighted / edtWords2Value * 100 : 0.0;
    return outcome;
}

bool TArticleComparer::NextWindow(int& cursor, int& start, int& end) const {
    start = -1;
    end = -1;
    // Windows are at least one unit long; longer ones are clipped to the last unit.
    const long long length = FMinLength >= 1 ? FMinLength : 1;
    auto lastUnit = [&](int count) {
        const long long last = static_cast<long long>(count) - 1;
        return static_cast<int>(last < cursor + length ? last : cursor + length - 1);
    };
    switch (FUnitKind) {
        case ukWords: {
            ++cursor;
            const int count = FWords1.Count();
            if (cursor > count - 1) return false;
            end = lastUnit(count);
            start = cursor;
            return start != -1 && end != -1;
        }
        case ukSentences:
        case ukParagraphs: {
            ++cursor;
            const int count = FUnitKind == ukSentences ? FSentences1.Count() : FParagraphs1.Count();
            if (cursor > count - 1) return false;
            const int last = lastUnit(count);
            if (cursor == -1 || last == -1) return false;
            if (FUnitKind == ukSentences) {
                start = FSentences1[cursor].FirstWord;
                end = FSentences1[last].LastWord;
            } else {
                start = FParagraphs1[cursor].FirstWord;
                end = FParagraphs1[last].LastWord;
            }
            return true;
        }
        default:
            return false;
    }
}

void TArticleComparer::PrepareFindMatch() {
    FIndex.reset();  // the old lookup's memory goes before the new one is built
    TWindowSearchOptions options;
    options.WordWindow = FUnitKind == ukWords ? WindowLength(FMinLength) : 0;
    options.Hashed = FHashedLookupTables;
    options.EagerTables = FEagerLookupTables;
    FIndex = std::make_unique<TWindowSearch>(FWords1, FText1, FWords2, FText2, options);
}

void TArticleComparer::DropFindMatch() noexcept { FIndex.reset(); }

bool TArticleComparer::FindMatchHeld(int A0, int A1, int& ResumePos, int& M0, int& M1) {
    const int n1 = FWords1.Count();
    const int n2 = FWords2.Count();
    if (A0 < 0 || A1 < A0 || A1 > n1 - 1) return false;
    if (!FIndex || FIndex->Count1() != n1 || FIndex->Count2() != n2) PrepareFindMatch();
    return FIndex->FindMatch(A0, A1, ResumePos, M0, M1, FColorIndex);
}

void TArticleComparer::CollectColours() {
    if (FIndex) FIndex->CopyColours(FWords1, FWords2);
}

bool TArticleComparer::FindMatch(int A0, int A1, int& ResumePos, int& M0, int& M1) {
    const int n1 = FWords1.Count();
    const int n2 = FWords2.Count();
    // Not a window of article 1: nothing can be compared.
    if (A0 < 0 || A1 < A0 || A1 > n1 - 1) return false;
    // A lookup built for lists of other lengths would be read out of bounds.
    if (!FIndex || FIndex->Count1() != n1 || FIndex->Count2() != n2) PrepareFindMatch();
    if (!FIndex->FindMatch(A0, A1, ResumePos, M0, M1, FColorIndex)) return false;
    // Callers of a single search read the colours from the lists.
    const TColor color = FIndex->Colour1(A0);
    for (int a = A0; a <= A1; ++a) FWords1[a].Color = color;
    for (int b = M0; b <= M1; ++b) FWords2[b].Color = color;
    return true;
}

int TArticleComparer::HighlightedWords2() const noexcept {
    int count = 0;
    for (const TWord& word : FWords2)
        if (word.Color != kWordUnhighlighted) ++count;
    return count;
}

}  // namespace rasp
