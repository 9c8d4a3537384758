#pragma once
// The highlight colours of one article's words while a comparison runs, as a
// segment tree with range assignment: colouring a matched window costs a few
// logarithms however long the window is, and the search asks "first word at
// or after i whose colour is (not) one of these" and "first stretch of m white
// words at or after i" in logarithmic time.
//
// Where every window is short, a flat copy (one palette index a word) is kept
// beside the tree: reading a word's colour is then one load, and a short
// stretch is checked byte by byte; colouring costs the window's length more.

#include <cstdint>
#include <vector>

#include "text/SpanLists.h"

namespace rasp {

// Colour classes as bits: white, the six cycle colours, anything else.
using TColourMask = std::uint8_t;
inline constexpr TColourMask kWhiteClass = 1;
inline constexpr TColourMask kAllClasses = 0xFF;
TColourMask ColourClass(std::uint32_t color) noexcept;

class TWordColours {
public:
    TWordColours() = default;
    // withRuns: also keep the lengths of white stretches (FirstWhiteStretch).
    // flat: also keep the flat copy (for callers whose ranges are short).
    TWordColours(const TListWords& words, bool withRuns, bool flat = false);

    std::int32_t Count() const { return FCount; }
    std::uint32_t At(std::int32_t i) const;
    void Assign(std::int32_t first, std::int32_t last, std::uint32_t color);
    // First word >= from whose colour class is in mask, or Count().
    std::int32_t NextIn(std::int32_t from, TColourMask mask) const;
    // First p >= from such that words p .. p + length - 1 are all white, or Count().
    std::int32_t FirstWhiteStretch(std::int32_t from, std::int32_t length) const;
    // First word in [from, last] whose colour class is in mask, or last + 1.
    std::int32_t NextInWithin(std::int32_t from, std::int32_t last, TColourMask mask) const;
    // Writes every word's colour into the list.
    void CopyTo(TListWords& words) const;

    // The flat copy: palette index of each word, and the class of each index.
    bool HasRuns() const { return FRuns; }
    bool HasFlat() const { return !FFlat.empty(); }
    const std::uint8_t* FlatIndexes() const { return FFlat.data(); }
    const TColourMask* IndexClasses() const { return FPaletteClass.data(); }

private:
    // Nodes hold an index into the palette of colours seen, 1 byte a node.
    static constexpr std::uint8_t kMixed = 0xFF;
    static constexpr std::uint8_t kWhiteIndex = 0;
    std::uint8_t IndexOf(std::uint32_t color);

    void Build(std::size_t node, std::int32_t l, std::int32_t r, const TListWords& words);
    void SetUniform(std::size_t node, std::int32_t l, std::int32_t r, std::uint32_t color);
    void Pull(std::size_t node, std::int32_t l, std::int32_t r);
    void Assign(std::size_t node, std::int32_t l, std::int32_t r, std::int32_t first, std::int32_t last,
                std::uint8_t color);
    void SetUniformIndex(std::size_t node, std::int32_t l, std::int32_t r, std::uint8_t index);
    std::int32_t Stretch(std::size_t node, std::int32_t l, std::int32_t r, std::int32_t from,
                         std::int32_t length, std::int32_t& carry) const;
    void CopyTo(std::size_t node, std::int32_t l, std::int32_t r, TListWords& words) const;

    std::int32_t FCount = 0;
    bool FRuns = false;
    std::vector<std::uint32_t> FPalette{kWordUnhighlighted};
    std::vector<TColourMask> FPaletteClass{kWhiteClass};
    std::vector<std::uint8_t> FFlat;      // palette index of each word, when kept
    std::vector<std::uint8_t> FUniform;   // the node's one colour, or kMixed
    std::vector<TColourMask> FMask;       // classes present below the node
    // White stretch lengths: at the node's start, at its end, longest inside.
    std::vector<std::int32_t> FPre, FSuf, FBest;
};

}  // namespace rasp
