#pragma once
// Order-free matching (greedy string tiling): every run of at least N equal
// tokens that occurs in both sequences, wherever it lies in either, taken
// longest first so that no two runs share a position in either sequence.
//
// Which run is taken next is fully defined, so the result never depends on
// hashing or memory layout: the longest run that is still free in both
// sequences; among equally long ones the one that starts first in sequence 2,
// then the one that starts first in sequence 1.

#include <cstdint>
#include <span>
#include <vector>

#include "compare/RunPair.h"
#include "text/SpanLists.h"

namespace rasp {

// Tokens are word ids; a negative token matches nothing (an excluded word,
// or a word the other article does not have). Runs come back ordered by
// their start in sequence 2. minLength below 1 counts as 1. Throws
// std::length_error when the two together hold 2^31 - 1 tokens or more.
std::vector<TRunPair> TileTokens(std::span<const std::int32_t> tokens1,
                                 std::span<const std::int32_t> tokens2, int minLength);

// Colours the words of each run in both articles: the runs, in their order,
// take the colours of the six-colour cycle one after another. Every other
// word is left as it is.
void ColourRunPairs(const std::vector<TRunPair>& runs, TListWords& words1, TListWords& words2);

}  // namespace rasp
