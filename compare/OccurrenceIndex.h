#pragma once
// Where a stretch of article 1 occurs in article 2, as word ids. One suffix
// array over article 2, a separator and article 1 puts every occurrence of a
// stretch of article 1 into one block of suffixes around that stretch's own
// suffix; the LCP array bounds the block, and a wavelet matrix over the
// article-2 positions in suffix order gives the first occurrence at or after
// any position. Building is linear in the words of both articles; a query
// costs a few logarithms, whatever the stretch's length and however often
// its words repeat.

#include <cstdint>
#include <cstddef>
#include <vector>

#include "compare/WaveletMatrix.h"

namespace rasp {

class TOccurrenceIndex {
public:
    // ids are word ids 0 .. distinct - 1, shared by the two articles.
    // eagerTables: build a length's table at its first question (tests).
    TOccurrenceIndex(const std::vector<std::int32_t>& ids1, const std::vector<std::int32_t>& ids2,
                     std::int32_t distinct, bool eagerTables = false);

    // The occurrences in article 2 of article-1 words first .. first + length - 1,
    // as a slice of article-2 suffixes in suffix order.
    struct TLengthTable;
    // Either a slice of article-2 suffixes (the wavelet matrix answers), or,
    // where a table for the length exists, a slice of its slots: the
    // occurrences in ascending order, with the dead ones skipped.
    struct TRange {
        std::int32_t Lo = 0;
        std::int32_t Hi = 0;  // exclusive
        TLengthTable* Table = nullptr;
        bool Empty() const { return Lo >= Hi; }
    };
    // The walk asks for one or two lengths over and over (the window length
    // and one less): for those, all answers are worked out in one pass.
    TRange Occurrences(std::int32_t first, std::int32_t length) const;
    // First start position >= from among the occurrences, or -1.
    std::int32_t FirstAtOrAfter(const TRange& range, std::int32_t from) const;

    // Occurrences that can never be taken again (their words stay
    // highlighted) are dropped for good, slot by slot; only for ranges with
    // a table. FirstSlot gives the first live slot at or after `from` (a
    // position), Hi when there is none.
    std::int32_t FirstSlot(const TRange& range, std::int32_t from) const;
    std::int32_t NextLiveSlot(const TRange& range, std::int32_t slot) const;
    std::int32_t SlotPosition(const TRange& range, std::int32_t slot) const {
        return range.Table->Slots[static_cast<std::size_t>(slot)];
    }
    void DropSlot(const TRange& range, std::int32_t slot) const {
        range.Table->Skip[static_cast<std::size_t>(slot)] = slot + 1;
    }
    // Search work of the caller for this length: enough of it, and the
    // length gets a table.
    void AddScanWork(std::int32_t length, std::int64_t work) const;

private:
    TRange Search(std::int32_t first, std::int32_t length) const;
public:
    struct TLengthTable {
        std::int32_t Length = 0;
        std::int64_t Asked = 0;
        std::int64_t Work = 0;      // LCP entries the searches looked at
        std::int64_t ScanWork = 0;  // steps of the callers' scans
        bool Built = false;
        std::vector<std::int32_t> GroupOf1;  // group of each article-1 position
        std::vector<std::int32_t> Offsets;   // group g: slots Offsets[g] .. Offsets[g + 1] - 1
        std::vector<std::int32_t> Slots;     // article-2 positions, grouped, ascending
        std::vector<std::int32_t> Skip;      // Skip[s] > s: slots s .. Skip[s] - 1 are dead
    };

private:
    TLengthTable* TableFor(std::int32_t length) const;
    void BuildTable(TLengthTable& table) const;

    // Last index <= i whose LCP is below length, or -1.
    std::int32_t LastBelow(std::int32_t i, std::int32_t length) const;
    // First index >= i whose LCP is below length, or the LCP array's size.
    std::int32_t FirstBelow(std::int32_t i, std::int32_t length) const;
    std::int32_t BlockMin(int level, std::int32_t block) const {
        return FBlockMins[static_cast<std::size_t>(level)][static_cast<std::size_t>(block)];
    }

    std::vector<std::int32_t> FRank1;  // suffix rank of each article-1 position
    std::vector<std::int32_t> FRank2;  // suffix rank of each article-2 position
    std::vector<std::int32_t> FLcp;    // between suffixes of rank r and r + 1
    // FBlockMins[k][b]: smallest LCP of blocks b .. b + 2^k - 1 (32 entries a block).
    std::vector<std::vector<std::int32_t>> FBlockMins;
    TRankBits FIsArticle2;             // per rank: the suffix starts in article 2
    TWaveletMatrix FPositions;         // article-2 start positions in suffix order
    mutable TLengthTable FTables[2];
    mutable std::int64_t FWork = 0;
    bool FEagerTables = false;
};

}  // namespace rasp
