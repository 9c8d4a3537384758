#include "compare/WindowSearch.h"

#include <limits>

#include "compare/HighlightColor.h"

namespace rasp {

TWindowSearch::TWindowSearch(const TListWords& words1, std::u16string_view text1,
                             const TListWords& words2, std::u16string_view text2, bool eagerTables)
    : FIds(InternWords(words1, text1, words2, text2)),
      FOccurrences(FIds.Ids1, FIds.Ids2, FIds.Distinct, eagerTables),
      FColours1(words1, false),
      FColours2(words2, true) {}

void TWindowSearch::CopyColours(TListWords& words1, TListWords& words2) const {
    FColours1.CopyTo(words1);
    FColours2.CopyTo(words2);
}

std::int32_t TWindowSearch::FirstAllowed(std::int32_t first, std::int32_t length, std::int32_t from,
                                         std::int32_t to, TColourMask allowed) const {
    if (from > to) return -1;
    const TOccurrenceIndex::TRange range = FOccurrences.Occurrences(first, length);
    if (range.Empty()) return -1;
    const auto forbidden = static_cast<TColourMask>(~allowed);
    const bool whiteOnly = allowed == kWhiteClass;
    if (range.Table != nullptr && whiteOnly) {
        // Highlighted words never turn white again: an occurrence spoilt for
        // white-only searches of this length is dropped for good.
        for (std::int32_t slot = FOccurrences.FirstSlot(range, from); slot < range.Hi;
             slot = FOccurrences.NextLiveSlot(range, slot + 1)) {
            const std::int32_t j = FOccurrences.SlotPosition(range, slot);
            if (j > to) return -1;
            if (FColours2.NextIn(j, forbidden) - j >= length) return j;
            FOccurrences.DropSlot(range, slot);
        }
        return -1;
    }
    std::int64_t steps = 0;
    std::int32_t found = -1;
    std::int32_t x = from;
    for (;;) {
        ++steps;
        if (whiteOnly) {
            x = FColours2.FirstWhiteStretch(x, length);
            if (x > to) break;
        }
        const std::int32_t j = FOccurrences.FirstAtOrAfter(range, x);
        if (j < 0 || j > to) break;
        const std::int32_t spoilt = FColours2.NextIn(j, forbidden);
        if (spoilt - j >= length) {
            found = j;
            break;
        }
        // Every start up to the forbidden word covers it; so does every start
        // on the forbidden stretch that follows.
        x = FColours2.NextIn(spoilt + 1, allowed);
        if (x > to) break;
    }
    if (whiteOnly) FOccurrences.AddScanWork(length, steps);
    return found;
}

bool TWindowSearch::FindMatch(int A0, int A1, int& ResumePos, int& M0, int& M1, int& colorIndex) {
    const std::int32_t n2 = Count2();
    const TColor current = HighlightColor(colorIndex);
    const std::int32_t length = A1 - A0 + 1;

    int j = ResumePos < -1 ? -1 : ResumePos;
    bool restarted = false;
    if (j == n2 - 1) {
        j = -1;
        restarted = true;
    }
    if (j >= n2 - 1) return false;

    // The stale rule: with the window's first word highlighted, a restarted
    // scan stops at the window's first white word. staleAt is its offset.
    std::int32_t staleAt = std::numeric_limits<std::int32_t>::max();
    if (FColours1.At(A0) != clWhite) {
        const std::int32_t white = FColours1.NextIn(A0, kWhiteClass);
        if (white <= A1) staleAt = white - A0;
    }
    auto allowedColours = [&] {
        return restarted || current == clWhite ? kWhiteClass
                                               : static_cast<TColourMask>(kWhiteClass | ColourClass(current));
    };

    // Before the restart: the first candidate whose first length - 1 words pass.
    TColourMask allowed = allowedColours();
    std::int32_t candidate;
    if (length == 1) {
        candidate = j + 1;
    } else {
        if (restarted && staleAt <= length - 2) return false;
        candidate = FirstAllowed(A0, length - 1, j + 1, n2 - length, allowed);
        if (candidate < 0) return false;
    }
    const std::int32_t last = candidate + length - 1;
    const bool lastPasses = FIds.Ids1[static_cast<std::size_t>(A1)] == FIds.Ids2[static_cast<std::size_t>(last)] &&
                            (ColourClass(FColours2.At(last)) & allowed) != 0 &&
                            !(restarted && staleAt == length - 1);
    std::int32_t match = candidate;
    if (!lastPasses) {
        // The restart: from the first word of article 2, white words only.
        ResumePos = -1;
        restarted = true;
        if (staleAt <= length - 1) return false;
        match = FirstAllowed(A0, length, 0, n2 - length, kWhiteClass);
        if (match < 0) return false;
    }

    M0 = match;
    M1 = match + length - 1;
    ResumePos = match;
    bool newRun = restarted;
    if (A0 > 0 && FColours1.At(A0 - 1) == clWhite) newRun = true;
    if (M0 > 0 && FColours2.At(M0 - 1) == clWhite) newRun = true;
    if (newRun) colorIndex = colorIndex > 6 ? 7 : colorIndex + 1;
    if (colorIndex == 0 || colorIndex > 6) colorIndex = 1;
    const TColor color = HighlightColor(colorIndex);
    FColours1.Assign(A0, A1, color);
    FColours2.Assign(M0, M1, color);
    return true;
}

}  // namespace rasp
