#include "compare/PairSearch.h"

#include "compare/HighlightColor.h"

namespace rasp {

TPairSearch::TPairSearch(TListWords& words1, std::u16string_view text1, TListWords& words2,
                         std::u16string_view text2, std::int64_t budget)
    : FWords1(words1), FWords2(words2), FIndex(words1, text1, words2, text2), FBudget(budget) {}

TPairSearch::TResult TPairSearch::FindMatch(int A0, int A1, int& ResumePos, int& M0, int& M1, int& colorIndex) {
    if (FBudget < 0) return TResult::OutOfBudget;
    const int n2 = FWords2.Count();
    const TMatchIndex& index = FIndex;
    const int resumeBefore = ResumePos;

    const TColor current = HighlightColor(colorIndex);
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
            --FBudget;
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
        if (--FBudget < 0) {
            ResumePos = resumeBefore;
            return TResult::OutOfBudget;
        }
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
            for (int k = 2; k < width - 1 && agrees; ++k) {
                --FBudget;
                agrees = index.Id1(A0 + k) == index.Id2(j + k);
            }
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
        // Colouring is work too: a long window costs its length.
        FBudget -= 2 * static_cast<std::int64_t>(width);
        bool newRun = restarted;
        if (A0 > 0 && FWords1[A0 - 1].Color == kWordUnhighlighted) newRun = true;
        if (M0 > 0 && FWords2[M0 - 1].Color == kWordUnhighlighted) newRun = true;
        if (newRun) colorIndex = colorIndex > 6 ? 7 : colorIndex + 1;
        if (colorIndex == 0 || colorIndex > 6) colorIndex = 1;
        const TColor color = HighlightColor(colorIndex);
        for (int a = A0; a <= A1; ++a) FWords1[a].Color = color;
        for (int b = M0; b <= M1; ++b) FWords2[b].Color = color;
    }
    return found ? TResult::Found : TResult::NotFound;
}

}  // namespace rasp
