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
    TOccurrenceIndex(const std::vector<std::int32_t>& ids1, const std::vector<std::int32_t>& ids2,
                     std::int32_t distinct);

    // The occurrences in article 2 of article-1 words first .. first + length - 1,
    // as a slice of article-2 suffixes in suffix order.
    struct TRange {
        std::int32_t Lo = 0;
        std::int32_t Hi = 0;  // exclusive
        bool Empty() const { return Lo >= Hi; }
    };
    // The walk asks for one or two lengths over and over (the window length
    // and one less): for those, all answers are worked out in one pass.
    TRange Occurrences(std::int32_t first, std::int32_t length) const;
    // First start position >= from among the occurrences, or -1.
    std::int32_t FirstAtOrAfter(const TRange& range, std::int32_t from) const {
        return FPositions.NextValue(range.Lo, range.Hi, from);
    }

private:
    TRange Search(std::int32_t first, std::int32_t length) const;
    struct TLengthTable {
        std::int32_t Length = 0;
        std::int64_t Asked = 0;
        std::vector<TRange> Ranges;  // per article-1 position, once built
    };
    void BuildTable(TLengthTable& table) const;

    // Last index <= i whose LCP is below length, or -1.
    std::int32_t LastBelow(std::int32_t i, std::int32_t length) const;
    // First index >= i whose LCP is below length, or the LCP array's size.
    std::int32_t FirstBelow(std::int32_t i, std::int32_t length) const;
    std::int32_t BlockMin(int level, std::int32_t block) const {
        return FBlockMins[static_cast<std::size_t>(level)][static_cast<std::size_t>(block)];
    }

    std::vector<std::int32_t> FRank1;  // suffix rank of each article-1 position
    std::vector<std::int32_t> FLcp;    // between suffixes of rank r and r + 1
    // FBlockMins[k][b]: smallest LCP of blocks b .. b + 2^k - 1 (32 entries a block).
    std::vector<std::vector<std::int32_t>> FBlockMins;
    TRankBits FIsArticle2;             // per rank: the suffix starts in article 2
    TWaveletMatrix FPositions;         // article-2 start positions in suffix order
    mutable TLengthTable FTables[2];
};

}  // namespace rasp
