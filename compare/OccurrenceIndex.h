#pragma once
// Where a stretch of article 1 occurs in article 2, as word ids.
//
// The general answer is one suffix array over article 2, a separator and
// article 1: every occurrence of a stretch of article 1 lies in one block of
// suffixes around that stretch's own suffix; the LCP array bounds the block,
// and a wavelet matrix over the article-2 positions in suffix order gives the
// first occurrence at or after any position. Building is linear in the words
// of both articles; a query costs a few logarithms, whatever the stretch's
// length and however often its words repeat.
//
// The word walk asks for two lengths over and over (the window length and one
// less) and for a few shorter ones at the end of article 1. When the caller
// names those two lengths and they are short, their tables are built by
// hashing instead, and the few other lengths are answered by scanning article
// 2 for the one stretch asked; the suffix array is built only if questions
// of other lengths keep coming. That is several times quicker to build on
// long articles and asks nothing of the cache at query time.

#include <array>
#include <cstdint>
#include <cstddef>
#include <vector>

#include "compare/OccurrenceTable.h"
#include "compare/WaveletMatrix.h"

namespace rasp {

struct TOccurrenceOptions {
    // Suffix array: build a length's table at its first question (tests).
    bool EagerTables = false;
    // Lengths whose tables are built by hashing (0: none), at most
    // kMaxHashedLength; other lengths are answered by scans of article 2 for
    // a while before the suffix array is built.
    std::array<std::int32_t, 2> HashedLengths{0, 0};
    std::uint64_t Seed = 0x5DEECE66DULL;
};

class TOccurrenceIndex {
public:
    static constexpr std::int32_t kMaxHashedLength = 32;
    // Scans of article 2 for single stretches before the suffix array is
    // built instead: enough for the end of a walk with hashed lengths.
    static constexpr int kMaxPatternScans = 2 * kMaxHashedLength + 8;

    // ids are word ids 0 .. distinct - 1, shared by the two articles; the
    // vectors must outlive the index.
    TOccurrenceIndex(const std::vector<std::int32_t>& ids1, const std::vector<std::int32_t>& ids2,
                     std::int32_t distinct, TOccurrenceOptions options = {});

    // The occurrences in article 2 of article-1 words first .. first + length - 1:
    // either a slice of article-2 suffixes (the wavelet matrix answers), or a
    // slice of a table's slots (ascending positions, dead ones skippable).
    struct TRange {
        std::int32_t Lo = 0;
        std::int32_t Hi = 0;  // exclusive
        TOccurrenceTable* Table = nullptr;
        bool Empty() const { return Lo >= Hi; }
    };
    TRange Occurrences(std::int32_t first, std::int32_t length) const;
    // First start position >= from among the occurrences, or -1.
    std::int32_t FirstAtOrAfter(const TRange& range, std::int32_t from) const;

    // Occurrences that can never be taken again (their words stay
    // highlighted) are dropped for good, slot by slot; only for ranges with
    // a table. FirstSlot gives the first live slot at or after `from` (a
    // position), Hi when there is none.
    std::int32_t FirstSlot(const TRange& range, std::int32_t from) const {
        return range.Table->NextLiveSlot(range.Table->FirstSlotAtOrAfter(range.Lo, range.Hi, from), range.Hi);
    }
    std::int32_t NextLiveSlot(const TRange& range, std::int32_t slot) const {
        return range.Table->NextLiveSlot(slot, range.Hi);
    }
    std::int32_t SlotPosition(const TRange& range, std::int32_t slot) const {
        return range.Table->Slots[static_cast<std::size_t>(slot)];
    }
    void DropSlot(const TRange& range, std::int32_t slot) const { range.Table->Drop(slot); }
    // Search work of the caller for this length: enough of it, and the
    // length gets a table.
    void AddScanWork(std::int32_t length, std::int64_t work) const;

    // The hashed table of this length once built, else null.
    TOccurrenceTable* HashedTable(std::int32_t length) const {
        for (std::size_t k = 0; k < FHashed.size(); ++k)
            if (FHashedBuilt[k] && FOptions.HashedLengths[k] == length) return &FHashed[k];
        return nullptr;
    }

    // Whether the suffix array has been built (tests and benchmarks).
    bool HasSuffixArray() const { return FSuffixBuilt; }

private:
    struct TLengthTable {
        TOccurrenceTable Table;
        std::int64_t Asked = 0;
        std::int64_t Work = 0;      // LCP entries the searches looked at
        std::int64_t ScanWork = 0;  // steps of the callers' scans
        bool Built = false;
    };
    // One stretch's occurrences, found by a scan of article 2.
    struct TPatternList {
        std::int32_t First = -1;
        std::int32_t Length = 0;
        TOccurrenceTable Table;
    };

    TRange Hashed(std::int32_t first, std::int32_t length) const;
    TRange Pattern(std::int32_t first, std::int32_t length) const;
    void BuildSuffixIndex() const;
    TRange Search(std::int32_t first, std::int32_t length) const;
    TLengthTable* TableFor(std::int32_t length) const;
    void BuildTable(TLengthTable& table) const;

    // Last index <= i whose LCP is below length, or -1.
    std::int32_t LastBelow(std::int32_t i, std::int32_t length) const;
    // First index >= i whose LCP is below length, or the LCP array's size.
    std::int32_t FirstBelow(std::int32_t i, std::int32_t length) const;
    std::int32_t BlockMin(int level, std::int32_t block) const {
        return FBlockMins[static_cast<std::size_t>(level)][static_cast<std::size_t>(block)];
    }

    const std::vector<std::int32_t>& FIds1;
    const std::vector<std::int32_t>& FIds2;
    std::int32_t FDistinct = 0;
    TOccurrenceOptions FOptions;

    // Tables of the hashed lengths, built at their first question.
    mutable std::array<TOccurrenceTable, 2> FHashed;
    mutable std::array<bool, 2> FHashedBuilt{false, false};
    mutable std::array<TPatternList, 4> FPatterns;
    mutable int FPatternScans = 0;
    mutable std::size_t FNextPattern = 0;

    // The suffix array's part, built when first needed.
    mutable bool FSuffixBuilt = false;
    mutable std::vector<std::int32_t> FRank1;  // suffix rank of each article-1 position
    mutable std::vector<std::int32_t> FRank2;  // suffix rank of each article-2 position
    mutable std::vector<std::int32_t> FLcp;    // between suffixes of rank r and r + 1
    // FBlockMins[k][b]: smallest LCP of blocks b .. b + 2^k - 1 (32 entries a block).
    mutable std::vector<std::vector<std::int32_t>> FBlockMins;
    mutable TRankBits FIsArticle2;             // per rank: the suffix starts in article 2
    mutable TWaveletMatrix FPositions;         // article-2 start positions in suffix order
    mutable TLengthTable FTables[2];
    mutable std::int64_t FWork = 0;
};

}  // namespace rasp
