#include "compare/AnyOrderMatch.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

#include "compare/HighlightColor.h"
#include "compare/SlotBits.h"
#include "compare/SuffixArray.h"

// How the tiling stays within n log n on every text, repetitive ones too,
// without changing its result:
//
// Both sequences go into one suffix array (sequence 1, a separator,
// sequence 2). The runs are taken length by length, from the longest
// possible down to the minimum. At length L the suffixes that agree in their
// first L tokens form one block of neighbours in the suffix array; going one
// length down only joins neighbouring blocks. A position takes part at
// length L while the L tokens from it are all free (no run taken, no
// unmatchable token, not past its sequence's end). Once no longer pair is
// left, every pair of such positions in one block is a pair of length L, so
// the next run is the block with the first position of sequence 2 paired
// with the first position of sequence 1 in the same block.
//
// The blocks with positions of both sequences are marked at their first
// position of sequence 2, and the marks are visited in that order. Each
// block keeps its first position of either sequence (exact, or a lower
// bound once that position stopped taking part, and then looked up again in
// a range-minimum tree over the suffix order).
// Taking a run of L tokens takes its positions and shortens the free stretch
// of at most L - 1 positions before it in each sequence; those take part
// again at their new, shorter length. Every step costs a constant number of
// tree or mark operations, each logarithmic.

namespace rasp {

namespace {

constexpr std::int32_t kNone = std::numeric_limits<std::int32_t>::max();

// Minimum over ranges of an array with single values changed, as a tree of
// 16-wide nodes: one node is one cache line, so a change or a look-up
// touches about one line per level, and a change stops going up where the
// minimum above does not move.
class TRangeMin {
public:
    explicit TRangeMin(std::vector<std::int32_t> values) {
        FLevels.push_back(std::move(values));
        while (FLevels.back().size() > 1) {
            std::vector<std::int32_t>& below = FLevels.back();
            below.resize((below.size() + kWide - 1) / kWide * kWide, kNone);
            FLevels.emplace_back(below.size() / kWide);
        }
        Rebuild();
    }

    void Set(std::size_t at, std::int32_t value) {
        std::int32_t old = std::exchange(FLevels[0][at], value);
        for (std::size_t level = 0; level + 1 < FLevels.size(); ++level) {
            std::int32_t& above = FLevels[level + 1][at / kWide];
            std::int32_t least;
            if (value <= above) {
                least = value;
            } else if (old > above) {
                return;  // neither the old value nor the new one is the minimum
            } else {
                const std::int32_t* node = &FLevels[level][at / kWide * kWide];
                least = Least(node, node + kWide);
            }
            if (least == above) return;
            old = std::exchange(above, least);
            value = least;
            at /= kWide;
        }
    }

    // Sets the entries at the given places to kNone. Many at once are
    // cheaper written in one go and the levels above built again in order,
    // than climbed up to one by one from places all over the array.
    void Clear(std::span<const std::int32_t> places) {
        if (places.size() * kRebuildShare < FLevels[0].size()) {
            for (const std::int32_t at : places) Set(static_cast<std::size_t>(at), kNone);
            return;
        }
        for (const std::int32_t at : places) FLevels[0][static_cast<std::size_t>(at)] = kNone;
        Rebuild();
    }

    // Minimum of the entries first .. last, both included.
    std::int32_t Min(std::size_t first, std::size_t last) const {
        std::int32_t best = kNone;
        for (std::size_t level = 0; level < FLevels.size() && first <= last; ++level) {
            const std::size_t firstNode = first / kWide;
            const std::size_t lastNode = last / kWide;
            const std::int32_t* values = FLevels[level].data();
            if (firstNode == lastNode || level + 1 == FLevels.size()) {
                best = std::min(best, Least(values + first, values + last + 1));
                break;
            }
            best = std::min(best, Least(values + first, values + (firstNode + 1) * kWide));
            best = std::min(best, Least(values + lastNode * kWide, values + last + 1));
            if (firstNode + 1 == lastNode) break;
            first = firstNode + 1;
            last = lastNode - 1;
        }
        return best;
    }

private:
    // A plain loop, which the compiler turns into vector instructions.
    static std::int32_t Least(const std::int32_t* from, const std::int32_t* to) {
        std::int32_t least = kNone;
        for (; from != to; ++from) least = std::min(least, *from);
        return least;
    }

    void Rebuild() {
        for (std::size_t level = 0; level + 1 < FLevels.size(); ++level) {
            const std::vector<std::int32_t>& below = FLevels[level];
            std::vector<std::int32_t>& above = FLevels[level + 1];
            // Above may be longer, padded to whole nodes itself.
            for (std::size_t k = 0; k < below.size() / kWide; ++k)
                above[k] = Least(below.data() + k * kWide, below.data() + (k + 1) * kWide);
        }
    }

    static constexpr std::size_t kWide = 16;
    // Rebuilding costs about as much as this many single changes per entry
    // over the whole array, and at most this many rebuilds can happen.
    static constexpr std::size_t kRebuildShare = 32;
    std::vector<std::vector<std::int32_t>> FLevels;  // FLevels[0]: the array
};

// Items filed under a number, taken out number by number; items may be
// added while taking out, under smaller numbers than the one at work.
class TBuckets {
public:
    explicit TBuckets(std::size_t numbers) : FHead(numbers, -1) {}
    void Add(std::size_t number, std::int32_t item) {
        FItems.push_back(item);
        FNext.push_back(FHead[number]);
        FHead[number] = static_cast<std::int32_t>(FItems.size() - 1);
    }
    template <typename Visit>
    void Drain(std::size_t number, Visit visit) {
        for (std::int32_t e = std::exchange(FHead[number], -1); e >= 0; e = FNext[static_cast<std::size_t>(e)])
            visit(FItems[static_cast<std::size_t>(e)]);
    }

private:
    std::vector<std::int32_t> FHead;
    std::vector<std::int32_t> FItems;
    std::vector<std::int32_t> FNext;
};

// Items sorted by a number once (counting sort, keeping their order within
// one number), so that those of one number lie side by side.
class TSortedByNumber {
public:
    // numbers[k] is the number of item k, or -1 to leave the item out.
    TSortedByNumber(const std::vector<std::int32_t>& numbers, std::size_t limit) : FStart(limit + 2, 0) {
        for (const std::int32_t n : numbers)
            if (n >= 0) ++FStart[static_cast<std::size_t>(n) + 1];
        for (std::size_t k = 1; k < FStart.size(); ++k) FStart[k] += FStart[k - 1];
        FItems.resize(static_cast<std::size_t>(FStart.back()));
        std::vector<std::int32_t> fill(FStart.begin(), FStart.end() - 1);
        for (std::size_t k = 0; k < numbers.size(); ++k)
            if (numbers[k] >= 0)
                FItems[static_cast<std::size_t>(fill[static_cast<std::size_t>(numbers[k])]++)] = static_cast<std::int32_t>(k);
    }
    std::span<const std::int32_t> Items(std::size_t number) const {
        return std::span<const std::int32_t>(FItems).subspan(static_cast<std::size_t>(FStart[number]),
                                                             static_cast<std::size_t>(FStart[number + 1] - FStart[number]));
    }

private:
    std::vector<std::int32_t> FStart;
    std::vector<std::int32_t> FItems;
};

class TTiler {
public:
    TTiler(std::span<const std::int32_t> tokens1, std::span<const std::int32_t> tokens2, int minLength)
        : FLength1(static_cast<std::int32_t>(tokens1.size())),
          FLength2(static_cast<std::int32_t>(tokens2.size())),
          FSize(FLength1 + 1 + FLength2),
          FMinLength(minLength),
          FTop(std::min(FLength1, FLength2)),
          FFree(static_cast<std::size_t>(FSize)),
          FActive(static_cast<std::size_t>(FSize), 0),
          FNotOffered(static_cast<std::size_t>(FLength2), true) {
        // Unmatchable tokens and the separator become 0 and end every shared
        // prefix, so that suffixes are in one block of length L only when
        // their first L tokens are all free: at the start every position
        // takes part at every length.
        std::vector<std::int32_t> s(static_cast<std::size_t>(FSize), 0);
        std::int32_t upper = 0;
        auto copy = [&](std::span<const std::int32_t> tokens, std::int32_t from) {
            for (std::size_t k = 0; k < tokens.size(); ++k) {
                const std::int32_t t = tokens[k] < 0 ? 0 : tokens[k] + 1;
                s[static_cast<std::size_t>(from) + k] = t;
                upper = std::max(upper, t);
            }
        };
        copy(tokens1, 0);
        copy(tokens2, FLength1 + 1);
        for (std::size_t x = 0; x < s.size(); ++x) {
            if (s[x] == 0) continue;
            FFree.Set(x);
            FActive[x] = 1;
            ++FFreeCount[x < static_cast<std::size_t>(FLength1) ? 0 : 1];
        }
        std::vector<std::int32_t> sa = BuildSuffixArray(s, upper);
        {
            std::vector<std::int32_t> shared = BuildLcpArray(s, sa);
            s = {};
            // Neighbours in the suffix order join at the length they share.
            for (std::size_t k = 0; k < shared.size(); ++k) {
                shared[k] = std::min({shared[k], FreeStretch(sa[k]), FTop});
                if (shared[k] < FMinLength) shared[k] = -1;
            }
            // No run is longer than the longest shared prefix.
            FTop = 0;
            for (const std::int32_t length : shared) FTop = std::max(FTop, length);
            FJoins = TSortedByNumber(shared, static_cast<std::size_t>(FTop));
            FWaiting = TBuckets(static_cast<std::size_t>(FTop) + 1);
        }
        FRank.resize(sa.size());
        FBlocks.resize(sa.size());
        std::vector<std::int32_t> leaves[2] = {std::vector<std::int32_t>(sa.size(), kNone),
                                               std::vector<std::int32_t>(sa.size(), kNone)};
        for (std::int32_t k = 0; k < FSize; ++k) {
            const std::int32_t x = sa[static_cast<std::size_t>(k)];
            FRank[static_cast<std::size_t>(x)] = k;
            TBlock& block = FBlocks[static_cast<std::size_t>(k)];
            block = {k, k, {kNone, kNone}};
            if (!FActive[static_cast<std::size_t>(x)]) continue;
            const int side = x < FLength1 ? 0 : 1;
            block.First[side] = side == 0 ? x : x - FLength1 - 1;
            leaves[side][static_cast<std::size_t>(k)] = block.First[side];
        }
        sa = {};
        FTree[0] = TRangeMin(std::move(leaves[0]));
        FTree[1] = TRangeMin(std::move(leaves[1]));
    }

    std::vector<TRunPair> Run() {
        for (std::int32_t length = FTop; length >= FMinLength; --length) {
            // Once one sequence is used up (two equal texts after their one
            // run), the lengths below have nothing left to do.
            if (FFreeCount[0] < FMinLength || FFreeCount[1] < FMinLength)
                break;
            FWaiting.Drain(static_cast<std::size_t>(length), [&](std::int32_t x) {
                if (!FActive[static_cast<std::size_t>(x)] && FreeStretch(x) >= length) Activate(x);
            });
            for (const std::int32_t k : FJoins.Items(static_cast<std::size_t>(length))) Join(k);
            TakeRuns(length);
        }
        std::sort(FRuns.begin(), FRuns.end(),
                  [](const TRunPair& a, const TRunPair& b) { return a.Start2 < b.Start2; });
        return std::move(FRuns);
    }

private:
    // A block of the suffix order, kept in the entry of its first suffix
    // (Parent leads there from the others).
    struct TBlock {
        std::int32_t Parent;
        std::int32_t Last;
        // The first taking part position of sequence 1, and of sequence 2
        // counted from its start, or kNone. Once that position stops taking
        // part it is only a lower bound, until looked up again.
        std::int32_t First[2];
    };

    std::int32_t At(int side, std::int32_t position) const { return side == 0 ? position : FLength1 + 1 + position; }
    std::int32_t FreeStretch(std::int32_t x) const {
        return static_cast<std::int32_t>(FFree.NextClear(static_cast<std::size_t>(x))) - x;
    }
    void Wait(std::int32_t x, std::int32_t length) {
        if (length >= FMinLength) FWaiting.Add(static_cast<std::size_t>(length), x);
    }

    std::int32_t Find(std::int32_t k) {
        while (FBlocks[static_cast<std::size_t>(k)].Parent != k) {
            const std::int32_t up = FBlocks[static_cast<std::size_t>(FBlocks[static_cast<std::size_t>(k)].Parent)].Parent;
            FBlocks[static_cast<std::size_t>(k)].Parent = up;
            k = up;
        }
        return k;
    }

    // A block with positions of both sequences must be marked at a position
    // of sequence 2 it holds, no later than its first one; a lower bound
    // will do.
    void Offer(const TBlock& block) {
        if (block.First[0] != kNone && block.First[1] != kNone)
            FNotOffered.Clear(static_cast<std::size_t>(block.First[1]));
    }

    void Activate(std::int32_t x) {
        FActive[static_cast<std::size_t>(x)] = 1;
        const std::int32_t rank = FRank[static_cast<std::size_t>(x)];
        TBlock& block = FBlocks[static_cast<std::size_t>(Find(rank))];
        const int side = x < FLength1 ? 0 : 1;
        const std::int32_t position = side == 0 ? x : x - FLength1 - 1;
        FTree[side].Set(static_cast<std::size_t>(rank), position);
        block.First[side] = std::min(block.First[side], position);
        Offer(block);
    }

    // Joins the neighbours k and k + 1 of the suffix order.
    void Join(std::int32_t k) {
        TBlock& left = FBlocks[static_cast<std::size_t>(Find(k))];
        TBlock& right = FBlocks[static_cast<std::size_t>(k) + 1];  // still the first of its own block
        right.Parent = left.Parent;
        left.Last = right.Last;
        for (int side = 0; side < 2; ++side) left.First[side] = std::min(left.First[side], right.First[side]);
        Offer(left);
    }

    // Makes block.First exact.
    void LookUp(TBlock& block, std::int32_t first) {
        for (int side = 0; side < 2; ++side) {
            const std::int32_t position = block.First[side];
            if (position != kNone && !FActive[static_cast<std::size_t>(At(side, position))])
                block.First[side] = FTree[side].Min(static_cast<std::size_t>(first), static_cast<std::size_t>(block.Last));
        }
    }

    void TakeRuns(std::int32_t length) {
        // Runs taken at one length only ever mark later positions of
        // sequence 2, so one pass over the marks in order finds them all.
        for (std::size_t next = FNotOffered.NextClear(0); next < static_cast<std::size_t>(FLength2);
             next = FNotOffered.NextClear(next + 1)) {
            FNotOffered.Set(next);
            const auto j = static_cast<std::int32_t>(next);
            const std::int32_t first = Find(FRank[static_cast<std::size_t>(At(1, j))]);
            TBlock& block = FBlocks[static_cast<std::size_t>(first)];
            LookUp(block, first);
            if (block.First[1] == j && block.First[0] != kNone) {
                const std::int32_t i = block.First[0];
                FRuns.push_back({i, i + length - 1, j, j + length - 1});
                Take(At(0, i), length);
                Take(At(1, j), length);
                LookUp(block, first);
            }
            if (block.First[1] > j) Offer(block);
        }
    }

    // Takes the positions from..from + length - 1 (all free) and shortens the
    // free stretches that ran into them.
    void Take(std::int32_t from, std::int32_t length) {
        FCleared.clear();
        auto deactivate = [&](std::int32_t x) {
            if (!FActive[static_cast<std::size_t>(x)]) return;
            FActive[static_cast<std::size_t>(x)] = 0;
            FCleared.push_back(FRank[static_cast<std::size_t>(x)]);
        };
        for (std::int32_t x = from; x < from + length; ++x) {
            deactivate(x);
            FFree.Clear(static_cast<std::size_t>(x));
        }
        FFreeCount[from < FLength1 ? 0 : 1] -= length;
        for (std::int32_t x = from - 1; x > from - length && x >= 0 && FFree.Test(static_cast<std::size_t>(x)); --x) {
            deactivate(x);
            Wait(x, from - x);
        }
        FTree[from < FLength1 ? 0 : 1].Clear(FCleared);
    }

    // Sequence 1 is at 0 .. FLength1 - 1, sequence 2 after one separator.
    const std::int32_t FLength1;
    const std::int32_t FLength2;
    const std::int32_t FSize;
    const std::int32_t FMinLength;
    std::int32_t FTop;        // no run is longer
    TSlotBits FFree;          // positions not taken and matchable
    std::int32_t FFreeCount[2] = {0, 0};  // of either sequence
    std::vector<std::uint8_t> FActive;  // the free stretch from there is at least the length at work
    std::vector<std::int32_t> FRank;
    std::vector<TBlock> FBlocks;  // by suffix rank
    TRangeMin FTree[2] = {TRangeMin({}), TRangeMin({})};  // of either sequence, by suffix rank: the position while it takes part
    TBuckets FWaiting{0};     // positions by the length from which they take part
    TSortedByNumber FJoins{{}, 0};  // suffix-order neighbours by the length they share
    TSlotBits FNotOffered;    // by position of sequence 2: clear where a block is marked
    std::vector<std::int32_t> FCleared;  // ranks that stop taking part in one Take
    std::vector<TRunPair> FRuns;
};

}  // namespace

std::vector<TRunPair> TileTokens(std::span<const std::int32_t> tokens1,
                                 std::span<const std::int32_t> tokens2, int minLength) {
    if (minLength < 1) minLength = 1;
    if (tokens1.empty() || tokens2.empty()) return {};
    if (static_cast<std::size_t>(minLength) > std::min(tokens1.size(), tokens2.size())) return {};
    // Positions are 32-bit throughout; two articles of a thousand million
    // words would not fit in memory anyway.
    if (tokens1.size() + tokens2.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::length_error("The articles are too long to be matched in any order");
    return TTiler(tokens1, tokens2, minLength).Run();
}

void ColourRunPairs(const std::vector<TRunPair>& runs, TListWords& words1, TListWords& words2) {
    int colour = 0;
    for (const TRunPair& run : runs) {
        colour = colour % 6 + 1;
        const TColor value = HighlightColor(colour);
        for (int k = run.Start1; k <= run.End1; ++k) words1.At(k).Color = value;
        for (int k = run.Start2; k <= run.End2; ++k) words2.At(k).Color = value;
    }
}

}  // namespace rasp
