#pragma once
// What the searches learnt about occurrences they passed, so that a search
// asked again does not pass them again. A block is the ascending list of one
// stretch's occurrences in article 2 (listed once the searches have spent
// about its length on it); each occurrence carries a mark per colour the
// search may take besides white (six) and one for white-only searches.
//
// A white-only mark lasts: highlighted words never turn white again. A mark
// for a colour is kept under the first word of another colour that spoilt the
// occurrence: only that word taking this very colour can make the occurrence
// usable again, and colouring it so clears the mark.

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "compare/SlotBits.h"

namespace rasp {

class TSpoiltMarks {
public:
    static constexpr int kWhiteOnly = 6;  // mark index of white-only searches

    struct TBlock {
        std::vector<std::int32_t> Positions;
        std::array<TSlotBits, 7> Marks;
    };
    // A stretch's occurrences as the occurrence index gives them: a slice
    // (Lo, Hi) of a table or of the suffix order, and the stretch's length.
    struct TKey {
        const void* Table = nullptr;
        std::int32_t Lo = 0;
        std::int32_t Hi = 0;
        std::int32_t Length = 0;
        bool operator==(const TKey&) const = default;
    };

    explicit TSpoiltMarks(std::int32_t positions) : FPositions(positions) {}

    // The block listed for key, or null; the work a search spent on it
    // without a block counts towards listing it (listOccurrences is called
    // once that pays: it gives the positions in ascending order).
    template <typename TList>
    TBlock* Find(const TKey& key, std::int64_t work, TList listOccurrences) {
        const auto it = FEntries.find(key);
        if (it != FEntries.end() && it->second.Block >= 0) return &FBlocks[static_cast<std::size_t>(it->second.Block)];
        if (work == 0) return nullptr;
        TEntry& entry = it != FEntries.end() ? it->second : FEntries[key];
        entry.Work += work;
        if (entry.Work < (key.Hi - key.Lo) / 2 + 8) return nullptr;
        entry.Block = static_cast<std::int32_t>(FBlocks.size());
        TBlock& block = FBlocks.emplace_back();
        block.Positions = listOccurrences();
        for (TSlotBits& marks : block.Marks) marks = TSlotBits(block.Positions.size());
        return &block;
    }
    std::int32_t IndexOf(const TBlock& block) const { return static_cast<std::int32_t>(&block - FBlocks.data()); }

    // Marks slot of block spoilt for mark index `colour`; `spoiltAt` is the
    // article-2 word that spoilt it.
    void Mark(TBlock& block, std::int32_t slot, int colour, std::int32_t spoiltAt);
    // Words first .. last of article 2 took cycle colour `colour` (0 .. 5).
    void Forget(std::int32_t first, std::int32_t last, int colour);

private:
    struct THash {
        std::size_t operator()(const TKey& k) const noexcept {
            std::uint64_t h = reinterpret_cast<std::uintptr_t>(k.Table);
            for (const std::int32_t v : {k.Lo, k.Hi, k.Length}) h = (h ^ static_cast<std::uint32_t>(v)) * 0x9E3779B97F4A7C15ULL;
            return static_cast<std::size_t>(h ^ (h >> 29));
        }
    };
    struct TEntry {
        std::int64_t Work = 0;
        std::int32_t Block = -1;
    };
    struct TNote {
        std::int32_t Block, Slot, Next;
        int Colour;
    };

    std::int32_t FPositions;
    std::unordered_map<TKey, TEntry, THash> FEntries;
    std::vector<TBlock> FBlocks;
    // Notes kept under the word that spoilt each marked occurrence.
    std::vector<std::int32_t> FFirstNote;  // per article-2 word, -1: none
    TSlotBits FNoNotes;                    // set: the word keeps no notes
    std::vector<TNote> FNotes;
    std::int32_t FFreeNote = -1;
};

}  // namespace rasp
