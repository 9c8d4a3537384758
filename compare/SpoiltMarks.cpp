#include "compare/SpoiltMarks.h"

namespace rasp {

void TSpoiltMarks::Mark(TBlock& block, std::int32_t slot, int colour, std::int32_t spoiltAt) {
    block.Marks[static_cast<std::size_t>(colour)].Set(static_cast<std::size_t>(slot));
    if (colour == kWhiteOnly || spoiltAt < 0 || spoiltAt >= FPositions) return;
    if (FFirstNote.empty()) {
        FFirstNote.assign(static_cast<std::size_t>(FPositions), -1);
        FNoNotes = TSlotBits(static_cast<std::size_t>(FPositions), true);
    }
    std::int32_t note = FFreeNote;
    if (note >= 0) {
        FFreeNote = FNotes[static_cast<std::size_t>(note)].Next;
    } else {
        note = static_cast<std::int32_t>(FNotes.size());
        FNotes.emplace_back();
    }
    std::int32_t& first = FFirstNote[static_cast<std::size_t>(spoiltAt)];
    FNotes[static_cast<std::size_t>(note)] = {IndexOf(block), slot, first, colour};
    first = note;
    FNoNotes.Clear(static_cast<std::size_t>(spoiltAt));
}

void TSpoiltMarks::Forget(std::int32_t first, std::int32_t last, int colour) {
    if (FFirstNote.empty() || colour < 0 || colour >= kWhiteOnly) return;
    if (first < 0) first = 0;
    for (auto q = FNoNotes.NextClear(static_cast<std::size_t>(first)); q <= static_cast<std::size_t>(last) && q < FNoNotes.Size();
         q = FNoNotes.NextClear(q + 1)) {
        std::int32_t* link = &FFirstNote[q];
        while (*link >= 0) {
            TNote& note = FNotes[static_cast<std::size_t>(*link)];
            if (note.Colour != colour) {
                link = &note.Next;
                continue;
            }
            FBlocks[static_cast<std::size_t>(note.Block)].Marks[static_cast<std::size_t>(colour)].Clear(
                static_cast<std::size_t>(note.Slot));
            const std::int32_t freed = *link;
            *link = note.Next;
            note.Next = FFreeNote;
            FFreeNote = freed;
        }
        if (FFirstNote[q] < 0) FNoNotes.Set(q);
    }
}

}  // namespace rasp
