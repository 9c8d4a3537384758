#include "compare/AnyOrderMatch.h"

#include <algorithm>
#include <limits>
#include <map>
#include <queue>

#include "compare/HighlightColor.h"

// How the tiling stays fast on long articles without changing its result:
//
// Windows of L tokens get exact ids, level by level (the id of a window of
// L tokens is the interned pair of the id of its first L - 1 tokens and its
// last token), shared by both sequences. Windows that do not occur in the
// other sequence get -1 and drop out at once.
//
// Long runs: from the first level E at which few window pairs are equal, the
// maximal equal stretches (diagonal segments) that start with an equal
// window pair are collected in a priority queue ordered as the tiling takes
// runs. A popped segment that is still free is the next run; one that
// overlaps a run already taken is cut into its free pieces, which go back in.
// Every free run lies inside some queued segment at least as long, so the
// first free segment popped is the one the tiling would take.
//
// Short runs (levels below E, usually one or two words, where equal pairs
// are too many to list): one pass per level L over sequence 2 in order,
// taking for each free window the first free equal window of sequence 1.
// Every run taken so far is at least L long, so a window of L tokens is free
// exactly when its first and its last token are.

namespace rasp {

namespace {

constexpr int kMaxLevels = 32;

class TPairIds {
public:
    explicit TPairIds(std::size_t expected) {
        std::size_t capacity = 64;
        while (capacity < expected * 2 + 16) capacity *= 2;
        FKeys.assign(capacity, kFree);
        FIds.assign(capacity, -1);
        FShift = 64;
        for (std::size_t c = capacity; c > 1; c >>= 1) --FShift;
    }

    std::int32_t Intern(std::uint64_t key) {
        const std::size_t slot = SlotOf(key);
        if (FKeys[slot] == kFree) {
            FKeys[slot] = key;
            FIds[slot] = FCount++;
        }
        return FIds[slot];
    }
    std::int32_t Find(std::uint64_t key) const { return FIds[SlotOf(key)]; }
    std::int32_t Count() const noexcept { return FCount; }

private:
    static constexpr std::uint64_t kFree = ~std::uint64_t{0};

    std::size_t SlotOf(std::uint64_t key) const {
        const std::size_t mask = FKeys.size() - 1;
        std::size_t slot = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> FShift);
        while (FKeys[slot] != kFree && FKeys[slot] != key) slot = (slot + 1) & mask;
        return slot;
    }

    std::vector<std::uint64_t> FKeys;
    std::vector<std::int32_t> FIds;
    int FShift = 58;
    std::int32_t FCount = 0;
};

// Exact ids of the windows of one length in both sequences.
struct TLevel {
    std::vector<std::int32_t> Ids1;
    std::vector<std::int32_t> Ids2;
    std::int32_t IdCount = 0;
    std::uint64_t EqualPairs = 0;  // pairs of equal windows, one in each sequence
};

// Drops ids that occur in one sequence only and counts the equal pairs.
void Prune(TLevel& level) {
    std::vector<std::int32_t> count1(static_cast<std::size_t>(level.IdCount), 0);
    std::vector<std::int32_t> count2(static_cast<std::size_t>(level.IdCount), 0);
    for (const std::int32_t id : level.Ids1)
        if (id >= 0) ++count1[static_cast<std::size_t>(id)];
    for (const std::int32_t id : level.Ids2)
        if (id >= 0) ++count2[static_cast<std::size_t>(id)];
    for (std::int32_t& id : level.Ids1)
        if (id >= 0 && count2[static_cast<std::size_t>(id)] == 0) id = -1;
    for (std::int32_t& id : level.Ids2)
        if (id >= 0 && count1[static_cast<std::size_t>(id)] == 0) id = -1;
    level.EqualPairs = 0;
    for (std::size_t id = 0; id < count1.size(); ++id)
        level.EqualPairs += static_cast<std::uint64_t>(count1[id]) * static_cast<std::uint64_t>(count2[id]);
}

TLevel FirstLevel(std::span<const std::int32_t> tokens1, std::span<const std::int32_t> tokens2) {
    TLevel level;
    std::int32_t largest = -1;
    for (const std::int32_t t : tokens1) largest = std::max(largest, t);
    for (const std::int32_t t : tokens2) largest = std::max(largest, t);
    level.IdCount = largest + 1;
    level.Ids1.assign(tokens1.begin(), tokens1.end());
    level.Ids2.assign(tokens2.begin(), tokens2.end());
    for (std::int32_t& id : level.Ids1) id = id < 0 ? -1 : id;
    for (std::int32_t& id : level.Ids2) id = id < 0 ? -1 : id;
    Prune(level);
    return level;
}

TLevel NextLevel(const TLevel& previous, const TLevel& first, int length) {
    const std::size_t n = first.Ids1.size();
    const std::size_t m = first.Ids2.size();
    const auto extra = static_cast<std::size_t>(length - 1);
    TLevel level;
    TPairIds ids(n);
    auto key = [](std::int32_t head, std::int32_t last) {
        return (static_cast<std::uint64_t>(head) << 32) | static_cast<std::uint32_t>(last);
    };
    level.Ids1.assign(n, -1);
    for (std::size_t i = 0; i + extra < n; ++i) {
        const std::int32_t head = previous.Ids1[i];
        const std::int32_t last = first.Ids1[i + extra];
        if (head >= 0 && last >= 0) level.Ids1[i] = ids.Intern(key(head, last));
    }
    level.Ids2.assign(m, -1);
    for (std::size_t j = 0; j + extra < m; ++j) {
        const std::int32_t head = previous.Ids2[j];
        const std::int32_t last = first.Ids2[j + extra];
        if (head >= 0 && last >= 0) level.Ids2[j] = ids.Find(key(head, last));
    }
    level.IdCount = ids.Count();
    Prune(level);
    return level;
}

// The runs taken in one sequence, as disjoint intervals, for the queue's
// cutting of segments: a long segment that crosses runs is cut in a few
// steps instead of position by position.
class TTakenIntervals {
public:
    void Add(int start, int length) { FIntervals.emplace(start, start + length); }
    // The first taken position at or after x (a large number when none is).
    int NextTaken(int x) const {
        auto next = FIntervals.upper_bound(x);
        if (next != FIntervals.begin()) {
            const auto inside = std::prev(next);
            if (inside->second > x) return x;
        }
        return next == FIntervals.end() ? std::numeric_limits<int>::max() / 2 : next->first;
    }
    // The first free position at or after x.
    int NextFree(int x) const {
        for (;;) {
            auto next = FIntervals.upper_bound(x);
            if (next == FIntervals.begin()) return x;
            const auto inside = std::prev(next);
            if (inside->second <= x) return x;
            x = inside->second;
        }
    }

private:
    std::map<int, int> FIntervals;  // start -> end (exclusive)
};

struct TSegment {
    int Length;
    int Start2;
    int Start1;
};

// Lower priority first in std::priority_queue's sense: the queue's top is the
// longest, then the earliest in sequence 2, then in sequence 1.
struct TLaterSegment {
    bool operator()(const TSegment& a, const TSegment& b) const noexcept {
        if (a.Length != b.Length) return a.Length < b.Length;
        if (a.Start2 != b.Start2) return a.Start2 > b.Start2;
        return a.Start1 > b.Start1;
    }
};

class TTiler {
public:
    explicit TTiler(const TLevel& first)
        : FT1(first.Ids1), FT2(first.Ids2),
          FTaken1(first.Ids1.size(), 0), FTaken2(first.Ids2.size(), 0) {}

    // Runs of `minimum` tokens or more, from segments that start with an
    // equal window pair of `level` (windows of `width` tokens).
    void LongRuns(const TLevel& level, int width, int minimum) {
        const int n = static_cast<int>(FT1.size());
        const int m = static_cast<int>(FT2.size());
        // Windows of sequence 1 by id; within an id by the token before them,
        // so that the windows that merely continue a segment can be skipped
        // as a block.
        std::vector<int> begin(static_cast<std::size_t>(level.IdCount) + 1, 0);
        for (const std::int32_t id : level.Ids1)
            if (id >= 0) ++begin[static_cast<std::size_t>(id) + 1];
        for (std::size_t k = 1; k < begin.size(); ++k) begin[k] += begin[k - 1];
        std::vector<int> positions(static_cast<std::size_t>(begin.back()));
        {
            std::vector<int> fill(begin.begin(), begin.end() - 1);
            for (int i = 0; i < n; ++i) {
                const std::int32_t id = level.Ids1[static_cast<std::size_t>(i)];
                if (id >= 0) positions[static_cast<std::size_t>(fill[static_cast<std::size_t>(id)]++)] = i;
            }
        }
        auto before1 = [&](int i) { return i > 0 ? FT1[static_cast<std::size_t>(i - 1)] : -1; };
        for (std::size_t id = 0; id + 1 < begin.size(); ++id)
            std::stable_sort(positions.begin() + begin[id], positions.begin() + begin[id + 1],
                             [&](int x, int y) { return before1(x) < before1(y); });

        // A segment grows a whole window at a time while the windows' ids
        // agree, then token by token, so long repeats cost little.
        auto consider = [&](int i, int j) {
            int length = width;
            while (i + length < n && j + length < m) {
                const std::int32_t id1 = level.Ids1[static_cast<std::size_t>(i + length)];
                if (id1 < 0 || id1 != level.Ids2[static_cast<std::size_t>(j + length)]) break;
                length += width;
            }
            while (i + length < n && j + length < m && FT1[static_cast<std::size_t>(i + length)] >= 0 &&
                   FT1[static_cast<std::size_t>(i + length)] == FT2[static_cast<std::size_t>(j + length)])
                ++length;
            if (length >= minimum) FQueue.push({length, j, i});
        };
        for (int j = 0; j < m; ++j) {
            const std::int32_t id = level.Ids2[static_cast<std::size_t>(j)];
            if (id < 0) continue;
            const auto first = positions.begin() + begin[static_cast<std::size_t>(id)];
            const auto last = positions.begin() + begin[static_cast<std::size_t>(id) + 1];
            const std::int32_t before = j > 0 ? FT2[static_cast<std::size_t>(j - 1)] : -1;
            if (before < 0) {
                for (auto p = first; p != last; ++p) consider(*p, j);
                continue;
            }
            // Windows preceded by the same token continue a longer segment.
            const auto skipFrom = std::partition_point(first, last, [&](int i) { return before1(i) < before; });
            const auto skipTo = std::partition_point(skipFrom, last, [&](int i) { return before1(i) == before; });
            for (auto p = first; p != skipFrom; ++p) consider(*p, j);
            for (auto p = skipTo; p != last; ++p) consider(*p, j);
        }

        while (!FQueue.empty()) {
            const TSegment segment = FQueue.top();
            FQueue.pop();
            const int i = segment.Start1;
            const int j = segment.Start2;
            const int length = segment.Length;
            if (FTiles1.NextTaken(i) >= i + length && FTiles2.NextTaken(j) >= j + length) {
                Take(i, j, length);
                FTiles1.Add(i, length);
                FTiles2.Add(j, length);
                continue;
            }
            // The free pieces: stretches free in both sequences.
            for (int k = 0; k < length;) {
                for (;;) {
                    const int next = std::max(FTiles1.NextFree(i + k) - i, FTiles2.NextFree(j + k) - j);
                    if (next == k) break;
                    k = next;
                }
                if (k >= length) break;
                const int end = std::min({FTiles1.NextTaken(i + k) - i, FTiles2.NextTaken(j + k) - j, length});
                if (end - k >= minimum) FQueue.push({end - k, j + k, i + k});
                k = end;
            }
        }
    }

    // Runs of exactly `length` tokens; no longer free run may be left.
    void ShortRuns(const TLevel& level, int length) {
        const int n = static_cast<int>(FT1.size());
        const int m = static_cast<int>(FT2.size());
        const int extra = length - 1;
        auto free1 = [&](int i) {
            return !FTaken1[static_cast<std::size_t>(i)] && !FTaken1[static_cast<std::size_t>(i + extra)];
        };
        std::vector<int> begin(static_cast<std::size_t>(level.IdCount) + 1, 0);
        for (int i = 0; i + extra < n; ++i) {
            const std::int32_t id = level.Ids1[static_cast<std::size_t>(i)];
            if (id >= 0 && free1(i)) ++begin[static_cast<std::size_t>(id) + 1];
        }
        for (std::size_t k = 1; k < begin.size(); ++k) begin[k] += begin[k - 1];
        std::vector<int> positions(static_cast<std::size_t>(begin.back()));
        std::vector<int> next(begin.begin(), begin.end() - 1);
        for (int i = 0; i + extra < n; ++i) {
            const std::int32_t id = level.Ids1[static_cast<std::size_t>(i)];
            if (id >= 0 && free1(i)) positions[static_cast<std::size_t>(next[static_cast<std::size_t>(id)]++)] = i;
        }
        std::copy(begin.begin(), begin.end() - 1, next.begin());
        for (int j = 0; j + extra < m; ++j) {
            const std::int32_t id = level.Ids2[static_cast<std::size_t>(j)];
            if (id < 0 || FTaken2[static_cast<std::size_t>(j)] || FTaken2[static_cast<std::size_t>(j + extra)])
                continue;
            int& slot = next[static_cast<std::size_t>(id)];
            const int end = begin[static_cast<std::size_t>(id) + 1];
            while (slot < end && !free1(positions[static_cast<std::size_t>(slot)])) ++slot;
            if (slot == end) continue;
            Take(positions[static_cast<std::size_t>(slot)], j, length);
            ++slot;
            j += extra;
        }
    }

    std::vector<TRunPair> Runs() {
        std::sort(FRuns.begin(), FRuns.end(),
                  [](const TRunPair& a, const TRunPair& b) { return a.Start2 < b.Start2; });
        return std::move(FRuns);
    }

private:
    void Take(int start1, int start2, int length) {
        std::fill_n(FTaken1.begin() + start1, length, 1);
        std::fill_n(FTaken2.begin() + start2, length, 1);
        FRuns.push_back({start1, start1 + length - 1, start2, start2 + length - 1});
    }

    const std::vector<std::int32_t>& FT1;
    const std::vector<std::int32_t>& FT2;
    std::vector<std::uint8_t> FTaken1;
    std::vector<std::uint8_t> FTaken2;
    std::priority_queue<TSegment, std::vector<TSegment>, TLaterSegment> FQueue;
    TTakenIntervals FTiles1;
    TTakenIntervals FTiles2;
    std::vector<TRunPair> FRuns;
};

}  // namespace

std::vector<TRunPair> TileTokens(std::span<const std::int32_t> tokens1,
                                 std::span<const std::int32_t> tokens2, int minLength) {
    if (minLength < 1) minLength = 1;
    if (tokens1.empty() || tokens2.empty()) return {};
    // Equal window pairs beyond this many are not listed one by one.
    const std::uint64_t budget = 4 * (tokens1.size() + tokens2.size()) + 1024;

    std::vector<TLevel> levels;  // levels[L - 1]: windows of L tokens
    levels.push_back(FirstLevel(tokens1, tokens2));
    while (levels.back().EqualPairs > budget && static_cast<int>(levels.size()) < kMaxLevels)
        levels.push_back(NextLevel(levels.back(), levels.front(), static_cast<int>(levels.size()) + 1));

    const int width = static_cast<int>(levels.size());
    const int longFrom = std::max(minLength, width);
    TTiler tiler(levels.front());
    tiler.LongRuns(levels.back(), width, longFrom);
    for (int length = longFrom - 1; length >= minLength; --length)
        tiler.ShortRuns(levels[static_cast<std::size_t>(length - 1)], length);
    return tiler.Runs();
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
