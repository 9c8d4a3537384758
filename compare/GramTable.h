#pragma once
// Occurrence tables without a suffix array. For a short fixed length the
// stretches of article 2 are grouped by hashing their word ids, every group
// checked word by word against its first member, so that two stretches share
// a group exactly when their words are equal; building is linear in the
// words times the length. For a single stretch, its occurrences are found by
// one left-to-right scan of article 2 (Knuth-Morris-Pratt), linear whatever
// the stretch and the article hold.

#include <cstdint>
#include <span>
#include <vector>

#include "compare/OccurrenceTable.h"

namespace rasp {

// All stretches of `length` words of both articles. The seed varies the hash
// between comparisons, so that no text can be made to collide on purpose;
// collisions only cost time, never change a group. Seed 0 makes every
// stretch collide (tests of the word-by-word check; quadratic).
TOccurrenceTable BuildGramTable(const std::vector<std::int32_t>& ids1, const std::vector<std::int32_t>& ids2,
                                std::int32_t length, std::uint64_t seed);

// The table of stretches one word longer than `shorter`'s, from it.
TOccurrenceTable BuildLongerTable(const TOccurrenceTable& shorter, const std::vector<std::int32_t>& ids1,
                                  const std::vector<std::int32_t>& ids2);

// Start positions in `text` of `pattern` (not empty), ascending.
std::vector<std::int32_t> FindPattern(std::span<const std::int32_t> pattern, const std::vector<std::int32_t>& text);

// A table of the one group of `pattern`'s occurrences (GroupOf1 left empty).
TOccurrenceTable PatternTable(std::span<const std::int32_t> pattern, const std::vector<std::int32_t>& ids2);

}  // namespace rasp
