#include "compare/WindowSearch.h"

#include <algorithm>
#include <limits>
#include <chrono>
#include <exception>
#include <random>

#include "compare/HighlightColor.h"

namespace rasp {

namespace {

bool ShortWindows(const TWindowSearchOptions& options) {
    return options.Hashed && options.WordWindow >= 1 && options.WordWindow <= TOccurrenceIndex::kMaxHashedLength;
}

TOccurrenceOptions OccurrenceOptions(const TWindowSearchOptions& options, std::uint64_t seed) {
    TOccurrenceOptions occurrences;
    occurrences.EagerTables = options.EagerTables;
    occurrences.Seed = seed;
    // The walk asks for the window's first L - 1 words, and for all L after a restart.
    if (ShortWindows(options)) occurrences.HashedLengths = {options.WordWindow - 1, options.WordWindow};
    return occurrences;
}

// Which of the six cycle colours, besides white, `allowed` lets through; -1
// for white alone or anything else.
int CycleIndex(TColourMask allowed) {
    for (int index = 1; index <= 6; ++index)
        if (allowed == (kWhiteClass | static_cast<TColourMask>(1u << index))) return index - 1;
    return -1;
}

// First position >= x among slots lo .. hi - 1, searched outward from lo:
// the next candidate is nearly always close.
std::int32_t GallopTo(const std::vector<std::int32_t>& slots, std::int32_t lo, std::int32_t hi, std::int32_t x) {
    std::int32_t step = 1;
    std::int32_t below = lo;
    while (lo < hi && slots[static_cast<std::size_t>(lo)] < x) {
        below = lo + 1;
        lo += step;
        step *= 2;
    }
    if (lo > hi) lo = hi;
    return static_cast<std::int32_t>(std::lower_bound(slots.begin() + below, slots.begin() + lo, x) - slots.begin());
}

// A seed of this comparison's own for the stretch hashes (never 0, which
// makes every stretch collide).
std::uint64_t HashSeed() {
    std::uint64_t seed = 0;
    try {
        std::random_device device;
        seed = (static_cast<std::uint64_t>(device()) << 32) ^ device();
    } catch (const std::exception&) {
        // No entropy source: the clock still differs from run to run.
    }
    seed ^= static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return (seed * 0x9E3779B97F4A7C15ULL) | 1;
}

}  // namespace

TWindowSearch::TWindowSearch(const TListWords& words1, std::u16string_view text1,
                             const TListWords& words2, std::u16string_view text2, TWindowSearchOptions options)
    : FIds(InternWords(words1, text1, words2, text2)),
      FOccurrences(FIds.Ids1, FIds.Ids2, FIds.Distinct,
                   OccurrenceOptions(options, HashSeed())),
      FColours1(words1, false, ShortWindows(options)),
      // The white-stretch lengths serve only searches without a table.
      FColours2(words2, !ShortWindows(options), ShortWindows(options)),
      FMarks(FColours2.Count()) {}

void TWindowSearch::CopyColours(TListWords& words1, TListWords& words2) const {
    FColours1.CopyTo(words1);
    FColours2.CopyTo(words2);
}

std::int32_t TWindowSearch::FirstAllowed(std::int32_t first, std::int32_t length, std::int32_t from,
                                         std::int32_t to, TColourMask allowed) const {
    if (from > to) return -1;
    const TOccurrenceIndex::TRange range = FOccurrences.Occurrences(first, length);
    if (range.Empty()) return -1;
    // Hashed tables and single-stretch scans are read with the flat colours;
    // the suffix array's own tables (asked only when the walk's window was
    // not the one named) take the general way, marks included.
    if (range.Table != nullptr && FColours2.HasFlat() && length <= TOccurrenceIndex::kMaxHashedLength &&
        (range.Table == FOccurrences.HashedTable(length) || !FOccurrences.HasSuffixArray()))
        return FirstAllowedFlat(range, length, from, to, allowed);
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
    // A stretch asked again and again gets a list of its occurrences that
    // remembers which ones were found spoilt, for which colour.
    const int cycle = CycleIndex(allowed);
    const int markIndex = whiteOnly ? TSpoiltMarks::kWhiteOnly : cycle;
    const TSpoiltMarks::TKey key{range.Table, range.Lo, range.Hi, length};
    auto listOccurrences = [&] {
        std::vector<std::int32_t> positions;
        if (range.Table != nullptr) {
            positions.assign(range.Table->Slots.begin() + range.Lo, range.Table->Slots.begin() + range.Hi);
        } else {
            positions.reserve(static_cast<std::size_t>(range.Hi - range.Lo));
            for (std::int32_t j = FOccurrences.FirstAtOrAfter(range, 0); j >= 0;
                 j = FOccurrences.FirstAtOrAfter(range, j + 1))
                positions.push_back(j);
        }
        return positions;
    };
    if (markIndex >= 0) {
        if (TSpoiltMarks::TBlock* block = FMarks.Find(key, 0, listOccurrences))
            return FirstAllowedMarked(*block, markIndex, length, from, to, allowed);
    }
    std::int64_t steps = 0;
    std::int32_t found = -1;
    std::int32_t x = from;
    for (;;) {
        ++steps;
        if (whiteOnly && FColours2.HasRuns()) {
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
    // Searches that pass a few occurrences cost no more than remembering them.
    if (markIndex >= 0 && steps > 4) FMarks.Find(key, steps, listOccurrences);
    return found;
}

std::int32_t TWindowSearch::FirstAllowedMarked(TSpoiltMarks::TBlock& block, int markIndex, std::int32_t length,
                                               std::int32_t from, std::int32_t to, TColourMask allowed) const {
    const auto forbidden = static_cast<TColourMask>(~allowed);
    const std::vector<std::int32_t>& positions = block.Positions;
    TSlotBits& marks = block.Marks[static_cast<std::size_t>(markIndex)];
    const auto size = static_cast<std::int32_t>(positions.size());
    auto slot = static_cast<std::int32_t>(std::lower_bound(positions.begin(), positions.end(), from) - positions.begin());
    for (;;) {
        slot = static_cast<std::int32_t>(marks.NextClear(static_cast<std::size_t>(slot)));
        if (slot >= size) return -1;
        const std::int32_t j = positions[static_cast<std::size_t>(slot)];
        if (j > to) return -1;
        const std::int32_t spoilt = FColours2.NextIn(j, forbidden);
        if (spoilt - j >= length) return j;
        FMarks.Mark(block, slot, markIndex, spoilt);
        std::int32_t x = FColours2.NextIn(spoilt + 1, allowed);
        if (markIndex == TSpoiltMarks::kWhiteOnly && FColours2.HasRuns() && x <= to)
            x = FColours2.FirstWhiteStretch(x, length);
        if (x > to) return -1;
        slot = GallopTo(positions, slot + 1, size, x);
    }
}

std::int32_t TWindowSearch::FirstAllowedFlat(const TOccurrenceIndex::TRange& range, std::int32_t length,
                                             std::int32_t from, std::int32_t to, TColourMask allowed) const {
    const std::uint8_t* flat = FColours2.FlatIndexes();
    const TColourMask* classes = FColours2.IndexClasses();
    const std::vector<std::int32_t>& slots = range.Table->Slots;
    auto firstForbidden = [&](std::int32_t j) {
        std::int32_t k = 0;
        while (k < length && (classes[flat[static_cast<std::size_t>(j + k)]] & allowed) != 0) ++k;
        return k;
    };
    if (allowed == kWhiteClass) {
        // Highlighted words never turn white again: an occurrence spoilt for
        // white-only searches of this length is dropped for good.
        for (std::int32_t slot = FOccurrences.FirstSlot(range, from); slot < range.Hi;
             slot = FOccurrences.NextLiveSlot(range, slot + 1)) {
            const std::int32_t j = slots[static_cast<std::size_t>(slot)];
            if (j > to) return -1;
            if (firstForbidden(j) == length) return j;
            FOccurrences.DropSlot(range, slot);
        }
        return -1;
    }
    const std::int32_t n2 = Count2();
    // Marks of spoilt occurrences, for the table the walk asks over and over.
    TSlotBits* spoilt = nullptr;
    if (const int cycle = CycleIndex(allowed); cycle >= 0 && range.Table == FOccurrences.HashedTable(length)) {
        if (FSpoiltTable != range.Table) PrepareSpoiltMarks(*range.Table);
        spoilt = &FSpoilt[static_cast<std::size_t>(cycle)];
    }
    for (std::int32_t slot = range.Table->FirstSlotAtOrAfter(range.Lo, range.Hi, from);;) {
        if (spoilt != nullptr && slot < range.Hi) slot = static_cast<std::int32_t>(spoilt->NextClear(static_cast<std::size_t>(slot)));
        if (slot >= range.Hi) return -1;
        const std::int32_t j = slots[static_cast<std::size_t>(slot)];
        if (j > to) return -1;
        const std::int32_t bad = firstForbidden(j);
        if (bad == length) return j;
        if (spoilt != nullptr) spoilt->Set(static_cast<std::size_t>(slot));
        // Every start up to the forbidden word covers it; so does every start
        // on the forbidden stretch that follows. A short stretch is read off
        // the flat copy; the tree skips a long one at once.
        std::int32_t x = j + bad + 1;
        const std::int32_t near = std::min(n2, x + 64);
        while (x < near && (classes[flat[static_cast<std::size_t>(x)]] & allowed) == 0) ++x;
        if (x == near && x < n2) x = FColours2.NextIn(x, allowed);
        if (x > to) return -1;
        slot = GallopTo(slots, slot + 1, range.Hi, x);
    }
}

void TWindowSearch::PrepareSpoiltMarks(const TOccurrenceTable& table) const {
    FSpoiltTable = &table;
    FSlotOf2.assign(static_cast<std::size_t>(Count2()), -1);
    for (std::size_t s = 0; s < table.Slots.size(); ++s)
        FSlotOf2[static_cast<std::size_t>(table.Slots[s])] = static_cast<std::int32_t>(s);
    for (TSlotBits& marks : FSpoilt) marks = TSlotBits(table.Slots.size());
}

void TWindowSearch::ForgetSpoiltMarks(std::int32_t first, std::int32_t last, int colorIndex) {
    if (FSpoiltTable == nullptr || colorIndex < 1 || colorIndex > 6) return;
    // Occurrences with a word in first .. last may now be usable in this colour.
    TSlotBits& marks = FSpoilt[static_cast<std::size_t>(colorIndex - 1)];
    for (std::int32_t p = std::max(0, first - FSpoiltTable->Length + 1); p <= last; ++p) {
        const std::int32_t slot = FSlotOf2[static_cast<std::size_t>(p)];
        if (slot >= 0) marks.Clear(static_cast<std::size_t>(slot));
    }
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
        const std::int32_t white = FColours1.NextInWithin(A0, A1, kWhiteClass);
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
    ForgetSpoiltMarks(M0, M1, colorIndex);
    FMarks.Forget(M0, M1, colorIndex - 1);
    return true;
}

}  // namespace rasp
