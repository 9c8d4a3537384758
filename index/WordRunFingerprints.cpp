#include "index/WordRunFingerprints.h"

#include <algorithm>
#include <deque>

#include "text/SplitArticle.h"

namespace rasp {

namespace {

constexpr std::uint64_t Mix(std::uint64_t x) noexcept {
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBULL;
    x ^= x >> 31;
    return x;
}

constexpr char16_t Fold(char16_t c) noexcept { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

std::uint64_t WordHash(std::u16string_view word) noexcept {
    std::uint64_t h = 0xCBF29CE484222325ULL;
    for (const char16_t c : word) {
        h ^= Fold(c);
        h *= 0x100000001B3ULL;
    }
    return Mix(h ^ word.size());
}

}  // namespace

std::vector<std::uint32_t> WordRunHashes(std::u16string_view text, int* words) {
    TListWords spans;
    TListSentences sentences;
    TListParagraphs paragraphs;
    SplitArticle(text, spans, sentences, paragraphs);
    if (words) *words = spans.Count();
    std::vector<std::uint64_t> wordHashes;
    wordHashes.reserve(static_cast<std::size_t>(spans.Count()));
    for (const TWord& w : spans)
        wordHashes.push_back(WordHash(text.substr(static_cast<std::size_t>(w.StartPos - 1),
                                                  static_cast<std::size_t>(w.EndPos - w.StartPos))));
    std::vector<std::uint32_t> grams;
    if (wordHashes.size() < static_cast<std::size_t>(kGramWords)) return grams;
    grams.reserve(wordHashes.size() - kGramWords + 1);
    for (std::size_t i = 0; i + kGramWords <= wordHashes.size(); ++i) {
        std::uint64_t h = 0;
        for (int k = 0; k < kGramWords; ++k) h = Mix(h + wordHashes[i + static_cast<std::size_t>(k)]);
        grams.push_back(static_cast<std::uint32_t>(h >> 32));
    }
    return grams;
}

std::vector<std::uint32_t> Winnow(const std::vector<std::uint32_t>& hashes, int window) {
    std::vector<std::uint32_t> kept;
    if (hashes.empty()) return kept;
    const std::size_t w = static_cast<std::size_t>(std::max(window, 1));
    if (hashes.size() <= w) {
        kept.push_back(*std::min_element(hashes.begin(), hashes.end()));
        return kept;
    }
    // Positions whose hashes rise from front to back: the front is the
    // smallest of the window, the last one among equals.
    std::deque<std::size_t> rising;
    std::size_t lastKept = hashes.size();
    for (std::size_t i = 0; i < hashes.size(); ++i) {
        while (!rising.empty() && hashes[rising.back()] >= hashes[i]) rising.pop_back();
        rising.push_back(i);
        if (i + 1 < w) continue;
        while (rising.front() + w <= i) rising.pop_front();
        if (rising.front() != lastKept) {
            lastKept = rising.front();
            kept.push_back(hashes[lastKept]);
        }
    }
    return kept;
}

TArticleFingerprints FingerprintArticle(std::u16string_view text) {
    TArticleFingerprints result;
    result.Hashes = Winnow(WordRunHashes(text, &result.Words), kWinnowWindow);
    std::sort(result.Hashes.begin(), result.Hashes.end());
    result.Hashes.erase(std::unique(result.Hashes.begin(), result.Hashes.end()), result.Hashes.end());
    return result;
}

}  // namespace rasp
