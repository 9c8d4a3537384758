#include "compare/MatchIndex.h"

#include <algorithm>
#include <bit>

#include "compare/MixHash.h"
#include "compare/WordDictionary.h"

namespace rasp {

namespace {

std::uint64_t PairKey(std::int32_t first, std::int32_t second) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(first)) << 32) |
           static_cast<std::uint32_t>(second);
}

// Open-addressing table sizes: a power of two at least twice the entries.
std::size_t TableSize(std::size_t entries) {
    return std::bit_ceil(std::max<std::size_t>(16, entries * 2));
}


}  // namespace

TMatchIndex::TMatchIndex(const TListWords& words1, std::u16string_view text1,
                         const TListWords& words2, std::u16string_view text2) {
    // Article 2 first, so its ids are 0 .. (distinct words of article 2) - 1.
    TWordDictionary dictionary(static_cast<std::size_t>(std::min(words1.Count() + words2.Count(), 1 << 16)));
    FIds2 = dictionary.InternAll(words2, text2);
    const std::int32_t singleCount = dictionary.Size();
    FIds1 = dictionary.InternAll(words1, text1);

    Fill(FSingles, FIds2, singleCount);

    // Pairs of neighbouring words of article 2, numbered in order of first appearance.
    const std::size_t n2 = FIds2.size();
    std::vector<std::int32_t> pairOfPosition;
    if (n2 >= 2) {
        FPairSlots.assign(TableSize(n2 - 1), -1);
        pairOfPosition.reserve(n2 - 1);
        const std::size_t mask = FPairSlots.size() - 1;
        for (std::size_t j = 0; j + 1 < n2; ++j) {
            const std::uint64_t key = PairKey(FIds2[j], FIds2[j + 1]);
            std::size_t slot = MixWordHash(key) & mask;
            for (;; slot = (slot + 1) & mask) {
                const std::int32_t group = FPairSlots[slot];
                if (group < 0) {
                    FPairSlots[slot] = static_cast<std::int32_t>(FPairKeys.size());
                    FPairKeys.push_back(key);
                    break;
                }
                if (FPairKeys[static_cast<std::size_t>(group)] == key) break;
            }
            pairOfPosition.push_back(FPairSlots[slot]);
        }
    }
    Fill(FPairs, pairOfPosition, static_cast<int>(FPairKeys.size()));
}

void TMatchIndex::Fill(TGroups& groups, const std::vector<std::int32_t>& keyOfPosition,
                       int keyCount) {
    groups.Offsets.assign(static_cast<std::size_t>(keyCount) + 1, 0);
    for (const std::int32_t key : keyOfPosition) ++groups.Offsets[static_cast<std::size_t>(key) + 1];
    for (std::size_t g = 1; g < groups.Offsets.size(); ++g) groups.Offsets[g] += groups.Offsets[g - 1];
    groups.Positions.assign(keyOfPosition.size(), 0);
    std::vector<int> next(groups.Offsets.begin(), groups.Offsets.end() - 1);
    for (std::size_t position = 0; position < keyOfPosition.size(); ++position) {
        const auto key = static_cast<std::size_t>(keyOfPosition[position]);
        groups.Positions[static_cast<std::size_t>(next[key]++)] = static_cast<int>(position);
    }
    groups.Skip.resize(groups.Positions.size());
    for (std::size_t s = 0; s < groups.Skip.size(); ++s) groups.Skip[s] = static_cast<int>(s);
}

TMatchIndex::TGroup TMatchIndex::Single(std::int32_t id) const {
    if (id < 0 || static_cast<std::size_t>(id) + 1 >= FSingles.Offsets.size()) return {};
    return {false, FSingles.Offsets[static_cast<std::size_t>(id)],
            FSingles.Offsets[static_cast<std::size_t>(id) + 1]};
}

TMatchIndex::TGroup TMatchIndex::Pair(std::int32_t first, std::int32_t second) const {
    if (FPairSlots.empty()) return {true, 0, 0};
    const std::uint64_t key = PairKey(first, second);
    const std::size_t mask = FPairSlots.size() - 1;
    for (std::size_t slot = MixWordHash(key) & mask;; slot = (slot + 1) & mask) {
        const std::int32_t group = FPairSlots[slot];
        if (group < 0) return {true, 0, 0};
        if (FPairKeys[static_cast<std::size_t>(group)] == key) {
            const auto g = static_cast<std::size_t>(group);
            return {true, FPairs.Offsets[g], FPairs.Offsets[g + 1]};
        }
    }
}

int TMatchIndex::FirstAfter(const TGroup& group, int position) const {
    const std::vector<int>& positions = Groups(group).Positions;
    const auto first = positions.begin() + group.Begin;
    const auto last = positions.begin() + group.End;
    // Most searches continue right after the previous match: look at the
    // first slot before searching.
    if (first == last || *first > position) return group.Begin;
    return static_cast<int>(std::upper_bound(first, last, position) - positions.begin());
}

int TMatchIndex::NextWhite(const TGroup& group, int slot, const TListWords& words2) const {
    const TGroups& groups = Groups(group);
    std::vector<int>& skip = groups.Skip;
    int found = slot;
    while (found < group.End) {
        const int jump = skip[static_cast<std::size_t>(found)];
        if (jump > found) {
            found = jump;
            continue;
        }
        if (words2[groups.Positions[static_cast<std::size_t>(found)]].Color == kWordUnhighlighted)
            break;
        skip[static_cast<std::size_t>(found)] = found + 1;
        found = found + 1;
    }
    // Every slot passed on the way is coloured: point them all at the result.
    while (slot < found) {
        const int jump = skip[static_cast<std::size_t>(slot)];
        skip[static_cast<std::size_t>(slot)] = found;
        slot = jump > slot ? jump : slot + 1;
    }
    return found;
}

}  // namespace rasp
