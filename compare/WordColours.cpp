#include "compare/WordColours.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

#include "compare/HighlightColor.h"

namespace rasp {

TColourMask ColourClass(std::uint32_t color) noexcept {
    if (color == clWhite) return kWhiteClass;
    for (int index = 1; index <= 6; ++index)
        if (color == HighlightColor(index)) return static_cast<TColourMask>(1u << index);
    return 0x80;
}

TWordColours::TWordColours(const TListWords& words, bool withRuns, bool flat)
    : FCount(words.Count()), FRuns(withRuns) {
    if (FCount == 0) return;
    // The palette is reserved up front: the tables read through its data.
    FPalette.reserve(kMixed);
    FPaletteClass.reserve(kMixed);
    if (flat) {
        FFlat.resize(static_cast<std::size_t>(FCount));
        for (std::int32_t i = 0; i < FCount; ++i) FFlat[static_cast<std::size_t>(i)] = IndexOf(words[i].Color);
    }
    const std::size_t nodes = 2 * std::bit_ceil(static_cast<std::size_t>(FCount));
    FUniform.assign(nodes, 0);
    FMask.assign(nodes, kWhiteClass);
    if (FRuns) {
        FPre.assign(nodes, 0);
        FSuf.assign(nodes, 0);
        FBest.assign(nodes, 0);
    }
    Build(1, 0, FCount - 1, words);
}

std::uint8_t TWordColours::IndexOf(std::uint32_t color) {
    for (std::size_t i = 0; i < FPalette.size(); ++i)
        if (FPalette[i] == color) return static_cast<std::uint8_t>(i);
    // Words only ever carry white, the six cycle colours and what a caller
    // put there before the search began.
    if (FPalette.size() >= kMixed) throw std::length_error("too many distinct word colours");
    FPalette.push_back(color);
    FPaletteClass.push_back(ColourClass(color));
    return static_cast<std::uint8_t>(FPalette.size() - 1);
}

void TWordColours::SetUniform(std::size_t node, std::int32_t l, std::int32_t r, std::uint32_t color) {
    SetUniformIndex(node, l, r, IndexOf(color));
}

void TWordColours::SetUniformIndex(std::size_t node, std::int32_t l, std::int32_t r, std::uint8_t index) {
    FUniform[node] = index;
    FMask[node] = FPaletteClass[index];
    if (FRuns) {
        const std::int32_t white = index == kWhiteIndex ? r - l + 1 : 0;
        FPre[node] = FSuf[node] = FBest[node] = white;
    }
}

void TWordColours::Pull(std::size_t node, std::int32_t l, std::int32_t r) {
    const std::size_t a = 2 * node;
    const std::size_t b = a + 1;
    FUniform[node] = FUniform[a] == FUniform[b] ? FUniform[a] : kMixed;
    FMask[node] = FMask[a] | FMask[b];
    if (FRuns) {
        const std::int32_t mid = l + (r - l) / 2;
        const std::int32_t lenA = mid - l + 1;
        const std::int32_t lenB = r - mid;
        FPre[node] = FPre[a] == lenA ? lenA + FPre[b] : FPre[a];
        FSuf[node] = FSuf[b] == lenB ? lenB + FSuf[a] : FSuf[b];
        FBest[node] = std::max({FBest[a], FBest[b], FSuf[a] + FPre[b]});
    }
}

void TWordColours::Build(std::size_t node, std::int32_t l, std::int32_t r, const TListWords& words) {
    if (l == r) {
        SetUniform(node, l, r, words[l].Color);
        return;
    }
    const std::int32_t mid = l + (r - l) / 2;
    Build(2 * node, l, mid, words);
    Build(2 * node + 1, mid + 1, r, words);
    Pull(node, l, r);
}

std::uint32_t TWordColours::At(std::int32_t i) const {
    if (!FFlat.empty()) return FPalette[FFlat[static_cast<std::size_t>(i)]];
    std::size_t node = 1;
    std::int32_t l = 0;
    std::int32_t r = FCount - 1;
    while (FUniform[node] == kMixed) {
        const std::int32_t mid = l + (r - l) / 2;
        if (i <= mid) {
            node = 2 * node;
            r = mid;
        } else {
            node = 2 * node + 1;
            l = mid + 1;
        }
    }
    return FPalette[FUniform[node]];
}

void TWordColours::Assign(std::int32_t first, std::int32_t last, std::uint32_t color) {
    first = std::max(first, 0);
    last = std::min(last, FCount - 1);
    if (first > last) return;
    const std::uint8_t index = IndexOf(color);
    if (!FFlat.empty())
        std::fill(FFlat.begin() + first, FFlat.begin() + last + 1, index);
    Assign(1, 0, FCount - 1, first, last, index);
}

void TWordColours::Assign(std::size_t node, std::int32_t l, std::int32_t r, std::int32_t first,
                          std::int32_t last, std::uint8_t color) {
    // A part already wholly in this colour stays as it is.
    if (last < l || r < first || FUniform[node] == color) return;
    if (first <= l && r <= last) {
        SetUniformIndex(node, l, r, color);
        return;
    }
    const std::int32_t mid = l + (r - l) / 2;
    if (FUniform[node] != kMixed) {  // hand the node's colour down first
        SetUniformIndex(2 * node, l, mid, FUniform[node]);
        SetUniformIndex(2 * node + 1, mid + 1, r, FUniform[node]);
    }
    Assign(2 * node, l, mid, first, last, color);
    Assign(2 * node + 1, mid + 1, r, first, last, color);
    Pull(node, l, r);
}

std::int32_t TWordColours::NextIn(std::int32_t from, TColourMask mask) const {
    if (from < 0) from = 0;
    if (from >= FCount) return FCount;
    // Down to the part that holds `from`, noting the right halves passed by;
    // then the nearest of those that holds a wanted class, down to its first
    // such word. Most answers lie close to `from`: no recursion, few steps.
    struct TNode {
        std::size_t Node;
        std::int32_t L, R;
    };
    TNode pending[64];
    int count = 0;
    std::size_t node = 1;
    std::int32_t l = 0;
    std::int32_t r = FCount - 1;
    while (FUniform[node] == kMixed) {
        const std::int32_t mid = l + (r - l) / 2;
        if (from <= mid) {
            pending[count++] = {2 * node + 1, mid + 1, r};
            node = 2 * node;
            r = mid;
        } else {
            node = 2 * node + 1;
            l = mid + 1;
        }
    }
    if (FMask[node] & mask) return from;
    while (count > 0) {
        TNode next = pending[--count];
        if ((FMask[next.Node] & mask) == 0) continue;
        while (FUniform[next.Node] == kMixed) {
            const std::int32_t mid = next.L + (next.R - next.L) / 2;
            if (FMask[2 * next.Node] & mask) {
                next = {2 * next.Node, next.L, mid};
            } else {
                next = {2 * next.Node + 1, mid + 1, next.R};
            }
        }
        return next.L;
    }
    return FCount;
}

std::int32_t TWordColours::FirstWhiteStretch(std::int32_t from, std::int32_t length) const {
    if (from < 0) from = 0;
    if (length < 1) length = 1;
    if (from >= FCount || length > FCount - from) return FCount;
    std::int32_t carry = 0;
    const std::int32_t found = Stretch(1, 0, FCount - 1, from, length, carry);
    return found < 0 ? FCount : found;
}

// carry: white words counted so far (from `from` on) that end right before l.
std::int32_t TWordColours::Stretch(std::size_t node, std::int32_t l, std::int32_t r, std::int32_t from,
                                   std::int32_t length, std::int32_t& carry) const {
    if (r < from) return -1;
    if (FUniform[node] != kMixed) {
        const std::int32_t begin = std::max(l, from);
        if (FUniform[node] != kWhiteIndex) {
            carry = 0;
            return -1;
        }
        if (carry + (r - begin + 1) >= length) return begin - carry;
        carry += r - begin + 1;
        return -1;
    }
    if (l >= from) {
        if (carry + FPre[node] >= length) return l - carry;
        if (FBest[node] < length) {
            carry = FPre[node] == r - l + 1 ? carry + (r - l + 1) : FSuf[node];
            return -1;
        }
    }
    const std::int32_t mid = l + (r - l) / 2;
    const std::int32_t left = Stretch(2 * node, l, mid, from, length, carry);
    if (left >= 0) return left;
    return Stretch(2 * node + 1, mid + 1, r, from, length, carry);
}

std::int32_t TWordColours::NextInWithin(std::int32_t from, std::int32_t last, TColourMask mask) const {
    if (from < 0) from = 0;
    if (last >= FCount) last = FCount - 1;
    if (FFlat.empty()) return std::min(NextIn(from, mask), last + 1);
    for (std::int32_t i = from; i <= last; ++i)
        if (FPaletteClass[FFlat[static_cast<std::size_t>(i)]] & mask) return i;
    return last + 1;
}

void TWordColours::CopyTo(TListWords& words) const {
    if (FCount == 0 || words.Count() != FCount) return;
    if (!FFlat.empty()) {
        for (std::int32_t i = 0; i < FCount; ++i) words[i].Color = FPalette[FFlat[static_cast<std::size_t>(i)]];
        return;
    }
    CopyTo(1, 0, FCount - 1, words);
}

void TWordColours::CopyTo(std::size_t node, std::int32_t l, std::int32_t r, TListWords& words) const {
    if (FUniform[node] != kMixed) {
        for (std::int32_t i = l; i <= r; ++i) words[i].Color = FPalette[FUniform[node]];
        return;
    }
    const std::int32_t mid = l + (r - l) / 2;
    CopyTo(2 * node, l, mid, words);
    CopyTo(2 * node + 1, mid + 1, r, words);
}

}  // namespace rasp
