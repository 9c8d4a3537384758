#pragma once
// The match search of the window walk, with results identical to scanning
// article 2 word by word, at a cost that depends neither on how often the
// window's words repeat nor on the window's length: a few logarithms a call,
// plus one step for each stretch of other colours the call passes over.
//
// What the word-by-word scan does, reduced to what decides its outcome: a
// call looks at candidate starts j after ResumePos. A candidate ends the scan
// as soon as the window's first L - 1 words all pass there (same word, a
// colour the call may take, and, after a restart, no white word of article 1
// behind a highlighted first word); the last word then decides between a
// match and the one restart. After the restart only a candidate where all L
// words pass, on white words of article 2, can end the scan. Every other
// candidate is passed over, so each phase is one question: "the first
// occurrence at or after p of these words of article 1 in article 2 whose
// words all carry allowed colours".
//
// That question is answered by the occurrence index (suffix array of both
// articles: the occurrences of any stretch of article 1 are one block of
// suffixes, and a wavelet matrix gives the first of them at or after p) and
// the colour trees (segment trees with range assignment). An occurrence
// spoilt by a forbidden colour sends the search past the whole forbidden
// stretch; after a restart, where only white words count, it also jumps
// straight to the next white stretch long enough for the window. For the
// lengths the walk asks for over and over (the window length and one less),
// the occurrences are listed once per block in ascending order, and an
// occurrence spoilt for a white-only search is dropped from the list for
// good (highlighted words never turn white again), so those searches cost
// each occurrence once in all. A suffix automaton would answer "does it
// occur" as well, but not "first at or after p"; consecutive windows share
// their blocks' lists and dropped occurrences. The quick pair lookup that
// runs first on ordinary articles is TPairSearch.
//
// A word walk with a short window asks for two lengths nearly always: their
// tables are then built by hashing, without the suffix array (see
// TOccurrenceIndex), and colours are also kept flat, so that a candidate is
// checked by reading its few words' colours rather than walking the trees;
// the trees still carry the search past long stretches of other colours.
// Before a restart the search may take words of the current colour, so an
// occurrence spoilt by other colours cannot be dropped for good; instead it
// is marked spoilt for the current colour, and only a later colouring of one
// of its words in that very colour (which alone can make it usable again
// then) clears the mark. Every mark costs one look at an occurrence, and
// there are at most six a slot between colourings: the walk stays linear in
// the words times the window however the colours fall.
//
// Colours are held here while a comparison runs; CopyColours writes them
// into the word lists.

#include <array>
#include <string_view>
#include <vector>

#include "compare/OccurrenceIndex.h"
#include "compare/SlotBits.h"
#include "compare/SpoiltMarks.h"
#include "compare/WordColours.h"
#include "compare/WordIds.h"
#include "text/SpanLists.h"

namespace rasp {

struct TWindowSearchOptions {
    // The window length of a walk over words; 0 for other units, whose
    // windows have any length.
    std::int32_t WordWindow = 0;
    // Tests: false keeps every question on the suffix array.
    bool Hashed = true;
    // Tests: the suffix array's per-length tables at the first question.
    bool EagerTables = false;
};

class TWindowSearch {
public:
    TWindowSearch(const TListWords& words1, std::u16string_view text1, const TListWords& words2,
                  std::u16string_view text2, TWindowSearchOptions options = {});

    std::int32_t Count1() const { return static_cast<std::int32_t>(FIds.Ids1.size()); }
    std::int32_t Count2() const { return static_cast<std::int32_t>(FIds.Ids2.size()); }

    // One call of the search for the window A0 .. A1 of article 1 (a valid,
    // non-empty range): as the word-by-word search, on the colours held here.
    bool FindMatch(int A0, int A1, int& ResumePos, int& M0, int& M1, int& colorIndex);

    std::uint32_t Colour1(int i) const { return FColours1.At(i); }
    std::uint32_t Colour2(int i) const { return FColours2.At(i); }
    void CopyColours(TListWords& words1, TListWords& words2) const;

private:
    // First j in [from, to] where article-1 words first .. first + length - 1
    // occur in article 2 with every word's colour class in `allowed`; -1 if none.
    std::int32_t FirstAllowed(std::int32_t first, std::int32_t length, std::int32_t from, std::int32_t to,
                              TColourMask allowed) const;
    // The same on a table's slots, colours read from the flat copy.
    std::int32_t FirstAllowedFlat(const TOccurrenceIndex::TRange& range, std::int32_t length, std::int32_t from,
                                  std::int32_t to, TColourMask allowed) const;

    // The same on a listed stretch, passing the occurrences marked spoilt.
    std::int32_t FirstAllowedMarked(TSpoiltMarks::TBlock& block, int markIndex, std::int32_t length,
                                    std::int32_t from, std::int32_t to, TColourMask allowed) const;
    // Marks of occurrences of the first L - 1 words spoilt for each of the six
    // cycle colours, with each article-2 position's slot; set up at first use.
    void PrepareSpoiltMarks(const TOccurrenceTable& table) const;
    void ForgetSpoiltMarks(std::int32_t first, std::int32_t last, int colorIndex);

    TWordIds FIds;
    TOccurrenceIndex FOccurrences;
    TWordColours FColours1;
    TWordColours FColours2;
    mutable const TOccurrenceTable* FSpoiltTable = nullptr;
    mutable std::vector<std::int32_t> FSlotOf2;
    mutable std::array<TSlotBits, 6> FSpoilt;
    // The same for every other stretch the searches keep asking for.
    mutable TSpoiltMarks FMarks;
};

}  // namespace rasp
