#pragma once
// The occurrences in article 2 of every stretch of one length, grouped by the
// words of the stretch: group g lists its article-2 start positions in
// ascending order (slots Offsets[g] .. Offsets[g + 1] - 1), and each
// article-1 position knows its group. The last group is always empty; it is
// the group of article-1 stretches that occur nowhere in article 2.
//
// An occurrence that can never be taken again is dropped slot by slot:
// Skip[s] > s says slots s .. Skip[s] - 1 are dead.

#include <cstdint>
#include <vector>

namespace rasp {

struct TOccurrenceTable {
    std::int32_t Length = 0;
    std::vector<std::int32_t> GroupOf1;
    std::vector<std::int32_t> Offsets;
    std::vector<std::int32_t> Slots;
    std::vector<std::int32_t> Skip;

    std::int32_t Groups() const { return static_cast<std::int32_t>(Offsets.size()) - 1; }
    std::int32_t EmptyGroup() const { return Groups() - 1; }
    // First slot in [lo, hi) whose position is at least `from`, hi if none.
    std::int32_t FirstSlotAtOrAfter(std::int32_t lo, std::int32_t hi, std::int32_t from) const;
    // First slot at or after `slot` (and before hi) that is not dead, or hi.
    std::int32_t NextLiveSlot(std::int32_t slot, std::int32_t hi);
    void Drop(std::int32_t slot) { Skip[static_cast<std::size_t>(slot)] = slot + 1; }
};

// Offsets, Slots and Skip from the group of every article-2 start position
// (groupOf2[j] in 0 .. groups - 1, or negative: in no group); an empty last
// group is added.
void FillOccurrenceSlots(TOccurrenceTable& table, const std::vector<std::int32_t>& groupOf2,
                         std::int32_t groups);

}  // namespace rasp
