#pragma once
// Fingerprints of an article for the archive index: hashes of every run of
// kGramWords consecutive words (the segmenter's words, ASCII letter case
// folded), thinned by winnowing with a window of kWinnowWindow runs.
//
// Guarantee: two articles that share a run of at least kGuaranteeWords
// words share at least one fingerprint. Such a run holds kWinnowWindow
// consecutive word runs that are the same in both articles; winnowing keeps
// the smallest hash of every window, so that hash is kept in both. Shorter
// shared runs are often found too, but not always. Hash collisions only
// propose documents that the exact comparison then rates as they are.

#include <cstdint>
#include <string_view>
#include <vector>

namespace rasp {

inline constexpr int kGramWords = 5;
inline constexpr int kWinnowWindow = 18;
inline constexpr int kGuaranteeWords = kGramWords + kWinnowWindow - 1;

struct TArticleFingerprints {
    int Words = 0;
    std::vector<std::uint32_t> Hashes;  // sorted, each once
};

// `text` is a normalised article (CR LF breaks), as the comparison reads it.
TArticleFingerprints FingerprintArticle(std::u16string_view text);

// The hashes of each run of kGramWords words, in order: the step before
// winnowing, kept apart for tests.
std::vector<std::uint32_t> WordRunHashes(std::u16string_view text, int* words = nullptr);

// The smallest hash of every window of `window` consecutive entries (the
// last one on ties), each position once, in order; a shorter list gives its
// smallest.
std::vector<std::uint32_t> Winnow(const std::vector<std::uint32_t>& hashes, int window);

}  // namespace rasp
