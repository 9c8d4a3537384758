#include "compare/OccurrenceIndex.h"

#include <algorithm>

#include "compare/SuffixArray.h"

namespace rasp {

namespace {
constexpr std::int32_t kBlock = 32;
}

TOccurrenceIndex::TOccurrenceIndex(const std::vector<std::int32_t>& ids1,
                                   const std::vector<std::int32_t>& ids2, std::int32_t distinct) {
    const auto n1 = static_cast<std::int32_t>(ids1.size());
    const auto n2 = static_cast<std::int32_t>(ids2.size());
    // Article 2, a separator that occurs nowhere else, article 1: no common
    // prefix of two suffixes reaches over the separator or the end, so every
    // common prefix lies within one article.
    std::vector<std::int32_t> text;
    text.reserve(static_cast<std::size_t>(n1) + static_cast<std::size_t>(n2) + 1);
    for (const std::int32_t id : ids2) text.push_back(id + 1);
    text.push_back(0);
    for (const std::int32_t id : ids1) text.push_back(id + 1);

    std::vector<std::int32_t> sa = BuildSuffixArray(text, distinct + 1);
    FLcp = BuildLcpArray(text, sa);
    text = std::vector<std::int32_t>();

    const std::size_t total = sa.size();
    FRank1.assign(static_cast<std::size_t>(n1), 0);
    FIsArticle2 = TRankBits(total);
    std::vector<std::int32_t> positions;
    positions.reserve(static_cast<std::size_t>(n2));
    for (std::size_t r = 0; r < total; ++r) {
        const std::int32_t start = sa[r];
        if (start < n2) {
            FIsArticle2.Set(r);
            positions.push_back(start);
        } else if (start > n2) {
            FRank1[static_cast<std::size_t>(start - n2 - 1)] = static_cast<std::int32_t>(r);
        }
    }
    FIsArticle2.Seal();
    sa = std::vector<std::int32_t>();
    FPositions = TWaveletMatrix(std::move(positions));

    const auto blocks = static_cast<std::int32_t>((FLcp.size() + kBlock - 1) / kBlock);
    std::vector<std::int32_t> level(static_cast<std::size_t>(blocks));
    for (std::int32_t b = 0; b < blocks; ++b) {
        const auto begin = FLcp.begin() + static_cast<std::ptrdiff_t>(b) * kBlock;
        const auto end = FLcp.begin() + std::min<std::ptrdiff_t>(static_cast<std::ptrdiff_t>(b + 1) * kBlock,
                                                                 static_cast<std::ptrdiff_t>(FLcp.size()));
        level[static_cast<std::size_t>(b)] = *std::min_element(begin, end);
    }
    FBlockMins.push_back(std::move(level));
    for (std::int32_t span = 1; span * 2 <= blocks; span *= 2) {
        const std::vector<std::int32_t>& below = FBlockMins.back();
        std::vector<std::int32_t> next(static_cast<std::size_t>(blocks - span * 2 + 1));
        for (std::size_t b = 0; b < next.size(); ++b)
            next[b] = std::min(below[b], below[b + static_cast<std::size_t>(span)]);
        FBlockMins.push_back(std::move(next));
    }
}

std::int32_t TOccurrenceIndex::FirstBelow(std::int32_t i, std::int32_t length) const {
    const auto size = static_cast<std::int32_t>(FLcp.size());
    const std::int32_t blockEnd = std::min(size, (i / kBlock + 1) * kBlock);
    for (; i < blockEnd; ++i)
        if (FLcp[static_cast<std::size_t>(i)] < length) return i;
    if (i >= size) return size;
    // Whole blocks by powers of two, largest first.
    std::int32_t block = i / kBlock;
    const auto blocks = static_cast<std::int32_t>(FBlockMins[0].size());
    for (int k = static_cast<int>(FBlockMins.size()) - 1; k >= 0; --k) {
        const std::int32_t span = std::int32_t{1} << k;
        if (block + span <= blocks && BlockMin(k, block) >= length) block += span;
    }
    if (block >= blocks) return size;
    for (i = block * kBlock; i < size; ++i)
        if (FLcp[static_cast<std::size_t>(i)] < length) return i;
    return size;
}

std::int32_t TOccurrenceIndex::LastBelow(std::int32_t i, std::int32_t length) const {
    if (i < 0) return -1;
    const std::int32_t blockStart = i / kBlock * kBlock;
    for (; i >= blockStart; --i)
        if (FLcp[static_cast<std::size_t>(i)] < length) return i;
    if (i < 0) return -1;
    // block is the last whole block still to look at; blocks above it are done.
    std::int32_t block = i / kBlock;
    for (int k = static_cast<int>(FBlockMins.size()) - 1; k >= 0; --k) {
        const std::int32_t span = std::int32_t{1} << k;
        if (block - span + 1 >= 0 && BlockMin(k, block - span + 1) >= length) block -= span;
    }
    if (block < 0) return -1;
    for (i = std::min(static_cast<std::int32_t>(FLcp.size()) - 1, block * kBlock + kBlock - 1);
         i >= block * kBlock; --i)
        if (FLcp[static_cast<std::size_t>(i)] < length) return i;
    return -1;
}

TOccurrenceIndex::TRange TOccurrenceIndex::Occurrences(std::int32_t first, std::int32_t length) const {
    if (first < 0 || static_cast<std::size_t>(first) >= FRank1.size() || length < 1) return {};
    TLengthTable* table = nullptr;
    for (TLengthTable& t : FTables)
        if (t.Length == length) table = &t;
    if (table == nullptr) {
        // Take the slot asked least among those without a table; built tables stay.
        for (TLengthTable& t : FTables)
            if (t.Ranges.empty() && (table == nullptr || t.Asked < table->Asked)) table = &t;
        if (table == nullptr) return Search(first, length);
        *table = TLengthTable();
        table->Length = length;
    }
    if (!table->Ranges.empty()) return table->Ranges[static_cast<std::size_t>(first)];
    // A table costs one pass over all suffixes: worth it once asked that often.
    if (++table->Asked > 256 + static_cast<std::int64_t>(FLcp.size() / 256)) {
        BuildTable(*table);
        return table->Ranges[static_cast<std::size_t>(first)];
    }
    return Search(first, length);
}

void TOccurrenceIndex::BuildTable(TLengthTable& table) const {
    const std::size_t total = FLcp.size() + 1;
    // Blocks of suffixes sharing `Length` words: block b spans ranks
    // starts[b] .. starts[b + 1] - 1.
    std::vector<std::int32_t> blockOf(total);
    std::vector<std::int32_t> starts{0};
    for (std::size_t r = 1; r < total; ++r) {
        if (FLcp[r - 1] < table.Length) starts.push_back(static_cast<std::int32_t>(r));
        blockOf[r] = static_cast<std::int32_t>(starts.size() - 1);
    }
    starts.push_back(static_cast<std::int32_t>(total));
    table.Ranges.resize(FRank1.size());
    for (std::size_t a = 0; a < FRank1.size(); ++a) {
        const auto b = static_cast<std::size_t>(blockOf[static_cast<std::size_t>(FRank1[a])]);
        table.Ranges[a] = {FIsArticle2.Rank1(static_cast<std::size_t>(starts[b])),
                           FIsArticle2.Rank1(static_cast<std::size_t>(starts[b + 1]))};
    }
}

TOccurrenceIndex::TRange TOccurrenceIndex::Search(std::int32_t first, std::int32_t length) const {
    const std::int32_t rank = FRank1[static_cast<std::size_t>(first)];
    // Suffixes rank .. rank + t share `length` words when every LCP between
    // neighbours in that stretch is at least `length`.
    const std::int32_t lo = LastBelow(rank - 1, length) + 1;
    const std::int32_t hi = FirstBelow(rank, length);  // last rank of the block
    TRange range;
    range.Lo = FIsArticle2.Rank1(static_cast<std::size_t>(lo));
    range.Hi = FIsArticle2.Rank1(static_cast<std::size_t>(hi) + 1);
    return range;
}

}  // namespace rasp
