#include "compare/ArticleComparer.h"

#include <cmath>
#include <limits>

#include "compare/HighlightRender.h"
#include "compare/MatchIndex.h"
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
    FColorIndex = 0;
    FMinLength = WindowLength(minNumWords);
    FUnitKind = cbxTypeIndex;
    int cursor = -1;

    SplitArticle(rchArticle1.GetText(), FWords1, FSentences1, FParagraphs1);
    SplitArticle(rchArticle2.GetText(), FWords2, FSentences2, FParagraphs2);
    ClearFormatting(rchArticle1);
    ClearFormatting(rchArticle2);

    PrepareFindMatch();
    int resumePos = -1;
    int start = -1;
    int end = -1;
    int m0 = -1;
    int m1 = -1;
    while (NextWindow(cursor, start, end)) FindMatch(start, end, resumePos, m0, m1);

    RenderHighlights(rchArticle1, FWords1, FText1);
    RenderHighlights(rchArticle2, FWords2, FText2);

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
    FIndex = std::make_unique<TMatchIndex>(FWords1, FText1, FWords2, FText2);
}

void TArticleComparer::DropFindMatch() noexcept { FIndex.reset(); }

bool TArticleComparer::FindMatch(int A0, int A1, int& ResumePos, int& M0, int& M1) {
    const int n1 = FWords1.Count();
    const int n2 = FWords2.Count();
    // Not a window of article 1: nothing can be compared.
    if (A0 < 0 || A1 < A0 || A1 > n1 - 1) return false;
    // A lookup built for lists of other lengths would be read out of bounds.
    if (!FIndex || FIndex->Count1() != n1 || FIndex->Count2() != n2) PrepareFindMatch();
    const TMatchIndex& index = *FIndex;

    const TColor current = HighlightColor(FColorIndex);
    const int width = A1 - A0 + 1;
    const bool firstWhite1 = FWords1[A0].Color == kWordUnhighlighted;

    int j = ResumePos < -1 ? -1 : ResumePos;
    bool restarted = false;
    bool mayRestart = true;
    bool found = false;
    if (j == n2 - 1) {
        j = -1;
        restarted = true;
    }

    // Compares the window with article 2 from position j on. Returns whether
    // it stopped; k is the offset of the last pair compared.
    auto probe = [&](int jj, int& k) {
        for (k = 0;; ++k) {
            const int a = A0 + k;
            const int b = jj + k;
            const TColor c2 = FWords2[b].Color;
            const bool stop =
                index.Id1(a) != index.Id2(b) ||                                  // differ
                (b + 1 > n2 - 1 && a != A1) ||                                   // runs out
                (c2 != kWordUnhighlighted && (c2 != current || restarted)) ||    // taken
                (restarted && !firstWhite1 && FWords1[a].Color == kWordUnhighlighted);  // stale
            if (stop) return true;
            if (a == A1) return false;
        }
    };

    // Which positions can matter: a one-word window before its restart
    // examines the very next position whatever it holds (it either matches or
    // triggers the restart); a two-word window before its restart, every
    // position of its first word; otherwise only positions holding the
    // window's first two words (one word for a one-word window).
    TMatchIndex::TGroup group;
    int slot = 0;
    auto chooseGroup = [&] {
        if (width == 1)
            group = index.Single(index.Id1(A0));
        else if (width == 2 && mayRestart)
            group = index.Single(index.Id1(A0));
        else
            group = index.Pair(index.Id1(A0), index.Id1(A0 + 1));
        slot = index.FirstAfter(group, j);
    };
    if (!(width == 1 && mayRestart)) chooseGroup();

    for (;;) {
        if (width == 1 && mayRestart) {
            if (j >= n2 - 1) break;
            ++j;
        } else {
            // After a restart a coloured first word is taken at once.
            if (restarted) slot = index.NextWhite(group, slot, FWords2);
            if (slot >= group.End) break;
            j = index.PositionAt(group, slot++);
        }
        // A candidate whose first width - 1 words differ, or that runs out of
        // article 2 before them, stops before the window's last word: it can
        // neither match nor trigger the restart.
        if (width > 2) {
            if (j + width - 1 > n2 - 1) continue;
            bool agrees = true;
            for (int k = 2; k < width - 1 && agrees; ++k) agrees = index.Id1(A0 + k) == index.Id2(j + k);
            if (!agrees) continue;
        }
        int k = 0;
        const bool stop = probe(j, k);
        if (stop && A0 + k == A1 && mayRestart) {
            j = -1;
            ResumePos = -1;
            restarted = true;
            mayRestart = false;
            chooseGroup();
            continue;
        }
        if (!stop) {
            M0 = j;
            M1 = j + k;
            ResumePos = j;
            found = true;
            break;
        }
    }

    if (found) {
        bool newRun = restarted;
        if (A0 > 0 && FWords1[A0 - 1].Color == kWordUnhighlighted) newRun = true;
        if (M0 > 0 && FWords2[M0 - 1].Color == kWordUnhighlighted) newRun = true;
        if (newRun) FColorIndex = FColorIndex > 6 ? 7 : FColorIndex + 1;
        if (FColorIndex == 0 || FColorIndex > 6) FColorIndex = 1;
        const TColor color = HighlightColor(FColorIndex);
        for (int a = A0; a <= A1; ++a) FWords1[a].Color = color;
        for (int b = M0; b <= M1; ++b) FWords2[b].Color = color;
    }
    return found;
}

int TArticleComparer::HighlightedWords2() const noexcept {
    int count = 0;
    for (const TWord& word : FWords2)
        if (word.Color != kWordUnhighlighted) ++count;
    return count;
}

}  // namespace rasp
