#include "compare/MatchIndex.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "compare/WordText.h"

namespace rasp {

namespace {

std::u16string FoldedCopy(std::u16string_view text) {
    std::u16string folded(text);
    for (char16_t& c : folded) c = FoldAscii(c);
    return folded;
}

std::uint64_t PairKey(std::int32_t first, std::int32_t second) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(first)) << 32) |
           static_cast<std::uint32_t>(second);
}

}  // namespace

TMatchIndex::TMatchIndex(const TListWords& words1, std::u16string_view text1,
                         const TListWords& words2, std::u16string_view text2) {
    const std::u16string folded1 = FoldedCopy(text1);
    const std::u16string folded2 = FoldedCopy(text2);

    std::unordered_map<std::u16string_view, std::int32_t> ids;
    ids.reserve(static_cast<std::size_t>(words1.Count() + words2.Count()));
    auto intern = [&ids](std::u16string_view word) {
        return ids.try_emplace(word, static_cast<std::int32_t>(ids.size())).first->second;
    };
    // Article 2 first, so its ids are 0 .. (distinct words of article 2) - 1.
    FIds2.reserve(static_cast<std::size_t>(words2.Count()));
    for (const TWord& word : words2) FIds2.push_back(intern(WordText(folded2, word)));
    const auto singleCount = static_cast<std::int32_t>(ids.size());
    FIds1.reserve(static_cast<std::size_t>(words1.Count()));
    for (const TWord& word : words1) FIds1.push_back(intern(WordText(folded1, word)));

    Fill(FSingles, FIds2, singleCount);

    const std::size_t n2 = FIds2.size();
    std::vector<std::int32_t> pairOfPosition;
    if (n2 >= 2) {
        FPairKeys.reserve(n2 - 1);
        for (std::size_t j = 0; j + 1 < n2; ++j) FPairKeys.push_back(PairKey(FIds2[j], FIds2[j + 1]));
        std::vector<std::uint64_t> keys = FPairKeys;
        std::sort(keys.begin(), keys.end());
        keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
        pairOfPosition.reserve(n2 - 1);
        for (const std::uint64_t key : FPairKeys)
            pairOfPosition.push_back(static_cast<std::int32_t>(
                std::lower_bound(keys.begin(), keys.end(), key) - keys.begin()));
        FPairKeys = std::move(keys);
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
    const std::uint64_t key = PairKey(first, second);
    const auto it = std::lower_bound(FPairKeys.begin(), FPairKeys.end(), key);
    if (it == FPairKeys.end() || *it != key) return {true, 0, 0};
    const auto g = static_cast<std::size_t>(it - FPairKeys.begin());
    return {true, FPairs.Offsets[g], FPairs.Offsets[g + 1]};
}

int TMatchIndex::FirstAfter(const TGroup& group, int position) const {
    const std::vector<int>& positions = Groups(group).Positions;
    const auto first = positions.begin() + group.Begin;
    const auto last = positions.begin() + group.End;
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
