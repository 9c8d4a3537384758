#include "compare/OccurrenceIndex.h"

#include <algorithm>

#include "compare/GramTable.h"
#include "compare/SuffixArray.h"

namespace rasp {

namespace {
constexpr std::int32_t kBlock = 32;
}

TOccurrenceIndex::TOccurrenceIndex(const std::vector<std::int32_t>& ids1,
                                   const std::vector<std::int32_t>& ids2, std::int32_t distinct,
                                   TOccurrenceOptions options)
    : FIds1(ids1), FIds2(ids2), FDistinct(distinct), FOptions(options) {
    for (std::int32_t& length : FOptions.HashedLengths)
        if (length < 1 || length > kMaxHashedLength) length = 0;
    // Without hashed lengths every question goes to the suffix array.
    if (FOptions.HashedLengths[0] == 0 && FOptions.HashedLengths[1] == 0) BuildSuffixIndex();
}

void TOccurrenceIndex::BuildSuffixIndex() const {
    FSuffixBuilt = true;
    const auto n1 = static_cast<std::int32_t>(FIds1.size());
    const auto n2 = static_cast<std::int32_t>(FIds2.size());
    // Article 2, a separator that occurs nowhere else, article 1: no common
    // prefix of two suffixes reaches over the separator or the end, so every
    // common prefix lies within one article.
    std::vector<std::int32_t> text;
    text.reserve(static_cast<std::size_t>(n1) + static_cast<std::size_t>(n2) + 1);
    for (const std::int32_t id : FIds2) text.push_back(id + 1);
    text.push_back(0);
    for (const std::int32_t id : FIds1) text.push_back(id + 1);

    std::vector<std::int32_t> sa = rasp::BuildSuffixArray(text, FDistinct + 1);
    FLcp = BuildLcpArray(text, sa);
    text = std::vector<std::int32_t>();

    const std::size_t total = sa.size();
    FRank1.assign(static_cast<std::size_t>(n1), 0);
    FRank2.assign(static_cast<std::size_t>(n2), 0);
    FIsArticle2 = TRankBits(total);
    std::vector<std::int32_t> positions;
    positions.reserve(static_cast<std::size_t>(n2));
    for (std::size_t r = 0; r < total; ++r) {
        const std::int32_t start = sa[r];
        if (start < n2) {
            FRank2[static_cast<std::size_t>(start)] = static_cast<std::int32_t>(r);
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
    const std::int32_t begin = i;
    for (; i < blockEnd; ++i)
        if (FLcp[static_cast<std::size_t>(i)] < length) {
            FWork += i - begin + 1;
            return i;
        }
    FWork += kBlock * 2;
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
    const std::int32_t begin = i;
    for (; i >= blockStart; --i)
        if (FLcp[static_cast<std::size_t>(i)] < length) {
            FWork += begin - i + 1;
            return i;
        }
    FWork += kBlock * 2;
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

TOccurrenceIndex::TLengthTable* TOccurrenceIndex::TableFor(std::int32_t length) const {
    for (TLengthTable& t : FTables)
        if (t.Table.Length == length) return &t;
    // Take the slot asked least among those without a table; built tables stay.
    TLengthTable* table = nullptr;
    for (TLengthTable& t : FTables)
        if (!t.Built && (table == nullptr || t.Asked < table->Asked)) table = &t;
    if (table != nullptr) {
        *table = TLengthTable();
        table->Table.Length = length;
    }
    return table;
}

TOccurrenceIndex::TRange TOccurrenceIndex::Hashed(std::int32_t first, std::int32_t length) const {
    for (std::size_t k = 0; k < FHashed.size(); ++k) {
        if (FOptions.HashedLengths[k] != length) continue;
        TOccurrenceTable& table = FHashed[k];
        if (!FHashedBuilt[k]) {
            // Two lengths one apart: the longer table follows from the shorter.
            const std::int32_t shorter = FOptions.HashedLengths[1 - k];
            if (shorter >= 1 && shorter + 1 == length) {
                if (!FHashedBuilt[1 - k]) {
                    FHashed[1 - k] = BuildGramTable(FIds1, FIds2, shorter, FOptions.Seed);
                    FHashedBuilt[1 - k] = true;
                }
                table = BuildLongerTable(FHashed[1 - k], FIds1, FIds2);
            } else {
                table = BuildGramTable(FIds1, FIds2, length, FOptions.Seed);
            }
            FHashedBuilt[k] = true;
        }
        const auto g = static_cast<std::size_t>(table.GroupOf1[static_cast<std::size_t>(first)]);
        return {table.Offsets[g], table.Offsets[g + 1], &table};
    }
    return {-1, -1, nullptr};
}

TOccurrenceIndex::TRange TOccurrenceIndex::Pattern(std::int32_t first, std::int32_t length) const {
    for (TPatternList& list : FPatterns)
        if (list.First == first && list.Length == length)
            return {0, static_cast<std::int32_t>(list.Table.Slots.size()), &list.Table};
    TPatternList& list = FPatterns[FNextPattern];
    FNextPattern = (FNextPattern + 1) % FPatterns.size();
    ++FPatternScans;
    list.First = first;
    list.Length = length;
    list.Table = PatternTable(std::span<const std::int32_t>(FIds1.data() + first, static_cast<std::size_t>(length)), FIds2);
    return {0, static_cast<std::int32_t>(list.Table.Slots.size()), &list.Table};
}

TOccurrenceIndex::TRange TOccurrenceIndex::Occurrences(std::int32_t first, std::int32_t length) const {
    if (first < 0 || length < 1 || static_cast<std::size_t>(first) >= FIds1.size() ||
        static_cast<std::size_t>(length) > FIds1.size() - static_cast<std::size_t>(first))
        return {};
    if (const TRange hashed = Hashed(first, length); hashed.Table != nullptr) return hashed;
    if (!FSuffixBuilt) {
        if (FPatternScans < kMaxPatternScans) return Pattern(first, length);
        // Questions of other lengths keep coming (the caller named the wrong
        // ones): from here on the suffix array answers them.
        for (TPatternList& list : FPatterns) list = TPatternList();
        BuildSuffixIndex();
    }
    TLengthTable* table = TableFor(length);
    if (table == nullptr) return Search(first, length);
    // A table costs a pass over all suffixes: worth it once asked that often
    // where the blocks are long (few distinct words; a search that stops at
    // the first neighbour is as quick), or once the callers' scans for this
    // length have cost that much.
    const auto total = static_cast<std::int64_t>(FLcp.size()) + 1;
    ++table->Asked;
    if (!table->Built && (FOptions.EagerTables || (table->Asked > 256 + total / 256 && table->Work > 16 * table->Asked) ||
                          table->ScanWork > 4 * total + 4096))
        BuildTable(*table);
    if (table->Built) {
        const auto g = static_cast<std::size_t>(table->Table.GroupOf1[static_cast<std::size_t>(first)]);
        return {table->Table.Offsets[g], table->Table.Offsets[g + 1], &table->Table};
    }
    // The walk asks for the windows in order: fetch the LCP entries of one a
    // little further on while this one is searched.
    if (static_cast<std::size_t>(first) + 16 < FRank1.size())
        __builtin_prefetch(FLcp.data() + std::max(0, FRank1[static_cast<std::size_t>(first) + 16] - 1));
    FWork = 0;
    const TRange range = Search(first, length);
    table->Work += FWork;
    return range;
}

void TOccurrenceIndex::AddScanWork(std::int32_t length, std::int64_t work) const {
    for (TLengthTable& t : FTables)
        if (t.Table.Length == length) t.ScanWork += work;
}

std::int32_t TOccurrenceIndex::FirstAtOrAfter(const TRange& range, std::int32_t from) const {
    if (range.Table == nullptr) return FPositions.NextValue(range.Lo, range.Hi, from);
    const std::int32_t slot = range.Table->FirstSlotAtOrAfter(range.Lo, range.Hi, from);
    return slot == range.Hi ? -1 : range.Table->Slots[static_cast<std::size_t>(slot)];
}

void TOccurrenceIndex::BuildTable(TLengthTable& length) const {
    TOccurrenceTable& table = length.Table;
    const std::size_t total = FLcp.size() + 1;
    // Blocks of suffixes sharing `Length` words, numbered in suffix order.
    std::vector<std::int32_t> blockOf(total);
    std::int32_t blocks = 1;
    for (std::size_t r = 1; r < total; ++r) {
        if (FLcp[r - 1] < table.Length) ++blocks;
        blockOf[r] = blocks - 1;
    }
    std::vector<std::int32_t> groupOf2(FRank2.size());
    for (std::size_t j = 0; j < FRank2.size(); ++j) groupOf2[j] = blockOf[static_cast<std::size_t>(FRank2[j])];
    FillOccurrenceSlots(table, groupOf2, blocks);
    table.GroupOf1.resize(FRank1.size());
    for (std::size_t a = 0; a < FRank1.size(); ++a)
        table.GroupOf1[a] = blockOf[static_cast<std::size_t>(FRank1[a])];
    length.Built = true;
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
