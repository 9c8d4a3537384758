#include "compare/ArticleComparer.h"

#include <cmath>
#include <limits>

#include "compare/HighlightRender.h"
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

void TArticleComparer::RunComparison(const std::u16string& text1, const std::u16string& text2,
                                     double minNumWords, int cbxTypeIndex) {
    FColorIndex = 0;
    FMinLength = WindowLength(minNumWords);
    FUnitKind = cbxTypeIndex;
    // The texts may be the stored ones, which segmentation does not change.
    SplitArticle(text1, FWords1, FSentences1, FParagraphs1);
    SplitArticle(text2, FWords2, FSentences2, FParagraphs2);
    DropFindMatch();
    FColorIndex = WalkWindows(FWords1, FSentences1, FParagraphs1, FText1, FWords2, FText2, FMinLength, FUnitKind,
                              FSearch)
                      .ColorIndex;
}

TCompareOutcome TArticleComparer::Outcome(double edtWords2Value) const {
    const int highlighted = HighlightedWords2();
    TCompareOutcome outcome;
    outcome.Ran = true;
    outcome.Percentage = edtWords2Value > 0 ? highlighted / edtWords2Value * 100 : 0.0;
    return outcome;
}

bool TArticleComparer::NextWindow(int& cursor, int& start, int& end) const {
    return rasp::NextWindow({FWords1, FSentences1, FParagraphs1}, FMinLength, FUnitKind, cursor, start, end);
}

void TArticleComparer::PrepareFindMatch() {
    FIndex.reset();  // the old lookup's memory goes before the new one is built
    TWindowSearchOptions options;
    options.WordWindow = FUnitKind == ukWords ? WindowLength(FMinLength) : 0;
    options.Hashed = FSearch.HashedLookupTables;
    options.EagerTables = FSearch.EagerLookupTables;
    FIndex = std::make_unique<TWindowSearch>(FWords1, FText1, FWords2, FText2, options);
}

void TArticleComparer::DropFindMatch() noexcept { FIndex.reset(); }

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
