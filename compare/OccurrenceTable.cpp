#include "compare/OccurrenceTable.h"

#include <algorithm>

namespace rasp {

std::int32_t TOccurrenceTable::FirstSlotAtOrAfter(std::int32_t lo, std::int32_t hi, std::int32_t from) const {
    const auto begin = Slots.begin();
    return static_cast<std::int32_t>(std::lower_bound(begin + lo, begin + hi, from) - begin);
}

std::int32_t TOccurrenceTable::NextLiveSlot(std::int32_t slot, std::int32_t hi) {
    std::int32_t found = slot;
    while (found < hi) {
        const std::int32_t jump = Skip[static_cast<std::size_t>(found)];
        if (jump == found) break;
        found = jump;
    }
    if (found > hi) found = hi;
    // Every slot passed on the way is dead: point them all at the result.
    while (slot < found) {
        const std::int32_t jump = Skip[static_cast<std::size_t>(slot)];
        Skip[static_cast<std::size_t>(slot)] = found;
        slot = jump > slot ? jump : slot + 1;
    }
    return found;
}

void FillOccurrenceSlots(TOccurrenceTable& table, const std::vector<std::int32_t>& groupOf2, std::int32_t groups) {
    table.Offsets.assign(static_cast<std::size_t>(groups) + 2, 0);
    for (const std::int32_t g : groupOf2)
        if (g >= 0) ++table.Offsets[static_cast<std::size_t>(g) + 1];
    for (std::size_t g = 1; g < table.Offsets.size(); ++g) table.Offsets[g] += table.Offsets[g - 1];
    std::vector<std::int32_t> next(table.Offsets.begin(), table.Offsets.end() - 1);
    table.Slots.assign(static_cast<std::size_t>(table.Offsets.back()), 0);
    for (std::size_t j = 0; j < groupOf2.size(); ++j)
        if (groupOf2[j] >= 0)
            table.Slots[static_cast<std::size_t>(next[static_cast<std::size_t>(groupOf2[j])]++)] = static_cast<std::int32_t>(j);
    table.Skip.resize(table.Slots.size());
    for (std::size_t s = 0; s < table.Skip.size(); ++s) table.Skip[s] = static_cast<std::int32_t>(s);
}

}  // namespace rasp
