#pragma once
// The lookup behind the fast match search. Every word of both articles is
// interned once, ASCII letters folded, into an integer id shared by the two
// articles; the positions of article 2 are grouped by their word id and by the
// ids of their word and the next one, in ascending order. A window can only
// match, or make the search start over, at a position whose words equal the
// window's first words, so the search visits those positions alone.

#include <cstdint>
#include <string_view>
#include <vector>

#include "text/SpanLists.h"

namespace rasp {

class TMatchIndex {
public:
    TMatchIndex(const TListWords& words1, std::u16string_view text1, const TListWords& words2,
                std::u16string_view text2);

    int Count1() const { return static_cast<int>(FIds1.size()); }
    int Count2() const { return static_cast<int>(FIds2.size()); }
    std::int32_t Id1(int index) const { return FIds1[static_cast<std::size_t>(index)]; }
    std::int32_t Id2(int index) const { return FIds2[static_cast<std::size_t>(index)]; }

    // A group is a slice [Begin, End) of one of the two position arrays.
    struct TGroup {
        bool Pairs = false;
        int Begin = 0;
        int End = 0;
    };
    TGroup Single(std::int32_t id) const;
    TGroup Pair(std::int32_t first, std::int32_t second) const;

    int PositionAt(const TGroup& group, int slot) const {
        return Groups(group).Positions[static_cast<std::size_t>(slot)];
    }
    // First slot of the group whose position lies after `position`.
    int FirstAfter(const TGroup& group, int position) const;
    // First slot at or after `slot` whose article-2 word is still white.
    // Words only ever go from white to coloured during a comparison, so
    // coloured slots are skipped for good once seen.
    int NextWhite(const TGroup& group, int slot, const TListWords& words2) const;

private:
    struct TGroups {
        std::vector<int> Offsets;     // group g is [Offsets[g], Offsets[g + 1])
        std::vector<int> Positions;   // article-2 word indices, ascending per group
        mutable std::vector<int> Skip;  // Skip[s] > s: slots s .. Skip[s]-1 are coloured
    };
    static void Fill(TGroups& groups, const std::vector<std::int32_t>& keyOfPosition, int keyCount);
    const TGroups& Groups(const TGroup& group) const { return group.Pairs ? FPairs : FSingles; }

    std::vector<std::int32_t> FIds1;
    std::vector<std::int32_t> FIds2;
    TGroups FSingles;
    TGroups FPairs;
    std::vector<std::uint64_t> FPairKeys;    // pair group number -> its two ids
    std::vector<std::int32_t> FPairSlots;    // open-addressing table of group numbers
};

}  // namespace rasp
