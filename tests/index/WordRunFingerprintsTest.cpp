#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "index/WordRunFingerprints.h"

namespace rasp {
namespace {

std::u16string Words(const std::vector<int>& ids, const std::vector<std::u16string>& vocabulary) {
    std::u16string text;
    for (std::size_t k = 0; k < ids.size(); ++k) {
        if (k) text += (k % 11 == 0) ? u". " : (k % 37 == 0 ? u"\r\n" : u" ");
        text += vocabulary[static_cast<std::size_t>(ids[k])];
    }
    return text;
}

// A distinct word for each k below 676.
std::u16string Name(char16_t first, int k) {
    std::u16string name(3, first);
    name[1] = static_cast<char16_t>(u'a' + k % 26);
    name[2] = static_cast<char16_t>(u'a' + (k / 26) % 26);
    return name;
}

bool Share(const TArticleFingerprints& a, const TArticleFingerprints& b) {
    std::vector<std::uint32_t> both;
    std::set_intersection(a.Hashes.begin(), a.Hashes.end(), b.Hashes.begin(), b.Hashes.end(),
                          std::back_inserter(both));
    return !both.empty();
}

// Plain winnowing: each window's smallest hash, the last one among equals,
// a position taken once even when several windows choose it.
std::vector<std::uint32_t> PlainWinnow(const std::vector<std::uint32_t>& h, int w) {
    std::vector<std::uint32_t> kept;
    if (h.empty()) return kept;
    const std::size_t width = static_cast<std::size_t>(w);
    if (h.size() <= width) return {*std::min_element(h.begin(), h.end())};
    std::size_t last = h.size();
    for (std::size_t start = 0; start + width <= h.size(); ++start) {
        std::size_t best = start;
        for (std::size_t k = start; k < start + width; ++k)
            if (h[k] <= h[best]) best = k;
        if (best != last) kept.push_back(h[best]);
        last = best;
    }
    return kept;
}

TEST(WinnowTest, MatchesThePlainSelectionOnRandomAndRepetitiveLists) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        const int length = static_cast<int>(random() % 80);
        const std::uint32_t range = round % 3 == 0 ? 3 : (round % 3 == 1 ? 50 : 0xFFFFFFFF);
        std::vector<std::uint32_t> hashes;
        for (int k = 0; k < length; ++k) hashes.push_back(static_cast<std::uint32_t>(random() % range));
        const int window = 1 + static_cast<int>(random() % 20);
        ASSERT_EQ(Winnow(hashes, window), PlainWinnow(hashes, window)) << "round " << round;
    }
}

TEST(WordRunFingerprintsTest, FoldsAsciiCaseAndReadsTheSegmentersWords) {
    const std::u16string a = u"The Quick brown fox jumps over the lazy dog again and again";
    const std::u16string b = u"the QUICK brown, fox jumps; over the lazy dog again? and again!";
    EXPECT_EQ(WordRunHashes(a), WordRunHashes(b));
    // Non-ASCII letters keep their case, as in the comparison; attached
    // punctuation other than the separators is part of the word.
    EXPECT_NE(WordRunHashes(u"\u00C9t\u00E9 one two three four"), WordRunHashes(u"\u00E9t\u00E9 one two three four"));
    EXPECT_NE(WordRunHashes(u"one two three four five"), WordRunHashes(u"one two three four five:"));
    int words = 0;
    EXPECT_EQ(WordRunHashes(u"one two three four five six", &words).size(), 2u);
    EXPECT_EQ(words, 6);
    EXPECT_TRUE(FingerprintArticle(u"one two three four").Hashes.empty());
}

// The stated guarantee on texts built to defeat it: tiny vocabularies,
// the shared run at either end or in the middle, exactly the guaranteed
// length, one word different from the rest around it.
TEST(WordRunFingerprintsTest, ArticlesSharingTheGuaranteedRunShareAFingerprint) {
    std::mt19937 random(11);
    std::vector<std::u16string> vocabulary;
    for (int k = 0; k < 500; ++k) vocabulary.push_back(Name(u'w', k));
    for (int round = 0; round < 600; ++round) {
        const int vocab = round % 4 == 0 ? 2 : (round % 4 == 1 ? 5 : 500);
        auto draw = [&](int n) {
            std::vector<int> ids;
            for (int k = 0; k < n; ++k) ids.push_back(static_cast<int>(random() % static_cast<unsigned>(vocab)));
            return ids;
        };
        const std::vector<int> shared = draw(kGuaranteeWords);
        std::vector<int> a = draw(static_cast<int>(random() % 60));
        std::vector<int> b = draw(static_cast<int>(random() % 60));
        const std::size_t atA = a.empty() ? 0 : random() % (a.size() + 1);
        const std::size_t atB = b.empty() ? 0 : random() % (b.size() + 1);
        a.insert(a.begin() + static_cast<std::ptrdiff_t>(atA), shared.begin(), shared.end());
        b.insert(b.begin() + static_cast<std::ptrdiff_t>(atB), shared.begin(), shared.end());
        // Separators differ between the two texts; words do not.
        std::u16string textA = Words(a, vocabulary);
        std::u16string textB;
        for (std::size_t k = 0; k < b.size(); ++k) {
            if (k) textB += u" ";
            textB += vocabulary[static_cast<std::size_t>(b[k])];
        }
        ASSERT_TRUE(Share(FingerprintArticle(textA), FingerprintArticle(textB))) << "round " << round;
    }
}

TEST(WordRunFingerprintsTest, UnrelatedArticlesRarelyShareOne) {
    std::u16string a, b;
    for (int k = 0; k < 600; ++k) {
        a.append(Name(u'a', k)).push_back(u' ');
        b.append(Name(u'b', k)).push_back(u' ');
    }
    const TArticleFingerprints fa = FingerprintArticle(a);
    EXPECT_EQ(fa.Words, 600);
    // About two in every window + 1 runs are kept.
    EXPECT_GT(fa.Hashes.size(), 50u);
    EXPECT_LT(fa.Hashes.size(), 100u);
    EXPECT_FALSE(Share(fa, FingerprintArticle(b)));
}

}  // namespace
}  // namespace rasp
