#pragma once
// Suffix array and LCP array of a sequence of small non-negative integers
// (word ids), built in linear time by induced sorting, so that texts made of
// a handful of words repeated over and over cost no more than ordinary ones.

#include <cstdint>
#include <vector>

namespace rasp {

// Start positions of the suffixes of s in ascending order; every value of s
// lies in 0 .. upper. A suffix that is a prefix of another sorts first.
std::vector<std::int32_t> BuildSuffixArray(const std::vector<std::int32_t>& s, std::int32_t upper);

// lcp[i] = length of the longest common prefix of the suffixes sa[i] and
// sa[i + 1]; one entry fewer than sa (none for fewer than two suffixes).
std::vector<std::int32_t> BuildLcpArray(const std::vector<std::int32_t>& s,
                                        const std::vector<std::int32_t>& sa);

}  // namespace rasp
