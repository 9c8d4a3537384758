// Order-free matching against a plain quadratic tiling written here, on
// thousands of random pairs; exact cases; the in-order driver against the
// window's Compare command; left-out words in both modes.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "CompareTestSupport.h"
#include "RandomArticles.h"
#include "ReferenceTiling.h"
#include "compare/AnyOrderMatch.h"
#include "compare/ArticleMatch.h"
#include "compare/WordText.h"

namespace rasp {

std::ostream& operator<<(std::ostream& os, const TRunPair& r) {
    return os << "[" << r.Start1 << ".." << r.End1 << " / " << r.Start2 << ".." << r.End2 << "]";
}

namespace {

using namespace rasp::testing;
using rasp::reference::ReferenceTiles;

std::vector<int> RandomTokens(std::mt19937& random, int vocabulary, int maxLength) {
    std::vector<int> tokens(random() % static_cast<unsigned>(maxLength + 1));
    for (int& t : tokens) t = static_cast<int>(random() % static_cast<unsigned>(vocabulary + 1)) - 1;
    return tokens;
}

// A copy with a few stretches cut, repeated or moved, so long shared runs exist.
std::vector<int> Shuffled(std::mt19937& random, const std::vector<int>& source, int vocabulary) {
    std::vector<std::vector<int>> pieces;
    for (std::size_t i = 0; i < source.size();) {
        const std::size_t length = 1 + random() % 12;
        pieces.emplace_back(source.begin() + static_cast<long>(i),
                            source.begin() + static_cast<long>(std::min(source.size(), i + length)));
        i += length;
    }
    std::shuffle(pieces.begin(), pieces.end(), random);
    std::vector<int> out;
    for (const auto& piece : pieces) {
        if (random() % 5 == 0) continue;
        out.insert(out.end(), piece.begin(), piece.end());
        if (random() % 4 == 0) out.push_back(static_cast<int>(random() % static_cast<unsigned>(vocabulary)));
        if (random() % 6 == 0) out.insert(out.end(), piece.begin(), piece.end());
    }
    return out;
}

void ExpectSameTiles(const std::vector<int>& a, const std::vector<int>& b, int minLength) {
    const std::vector<std::int32_t> a32(a.begin(), a.end()), b32(b.begin(), b.end());
    const auto expected = ReferenceTiles(a, b, minLength);
    const auto actual = TileTokens(a32, b32, minLength);
    if (expected == actual) return;
    std::string text = "N=" + std::to_string(minLength) + "\na:";
    for (int t : a) text += " " + std::to_string(t);
    text += "\nb:";
    for (int t : b) text += " " + std::to_string(t);
    ADD_FAILURE() << text << "\nexpected " << ::testing::PrintToString(expected) << "\nactual   "
                  << ::testing::PrintToString(actual);
}

TEST(AnyOrderTiling, AgreesWithTheReferenceOnRandomTokens) {
    std::mt19937 random(2101);
    for (int round = 0; round < 6000; ++round) {
        const int vocabulary = 1 + static_cast<int>(random() % 4);
        const int minLength = 1 + round % 8;
        std::vector<int> a = RandomTokens(random, vocabulary, 36);
        std::vector<int> b = round % 3 == 0 ? Shuffled(random, a, vocabulary) : RandomTokens(random, vocabulary, 36);
        ExpectSameTiles(a, b, minLength);
        if (::testing::Test::HasFailure()) return;
    }
}

TEST(AnyOrderTiling, AgreesWithTheReferenceOnLongerSequences) {
    // Long enough that equal single tokens are too many to list, so the
    // short levels are tiled one by one and the long runs through the queue.
    std::mt19937 random(77);
    for (int round = 0; round < 24; ++round) {
        const int vocabulary = 2 + round % 3;
        const int minLength = 1 + round % 4;
        std::vector<int> a = RandomTokens(random, vocabulary, 160);
        a.resize(std::max<std::size_t>(a.size(), 100), 1);
        std::vector<int> b = round % 2 ? Shuffled(random, a, vocabulary) : RandomTokens(random, vocabulary, 160);
        ExpectSameTiles(a, b, minLength);
    }
    // One token over and over, and runs of it in different lengths.
    ExpectSameTiles(std::vector<int>(120, 5), std::vector<int>(90, 5), 1);
    std::vector<int> a, b;
    for (int k = 1; k <= 12; ++k) {
        a.insert(a.end(), static_cast<std::size_t>(k), 0);
        a.push_back(1);
        b.insert(b.end(), static_cast<std::size_t>(13 - k), 0);
        b.push_back(2);
    }
    for (int n = 1; n <= 4; ++n) ExpectSameTiles(a, b, n);
}

TEST(AnyOrderTiling, AgreesWithTheReferenceOnRepetitiveSequences) {
    // Periods of one to four tokens with a few breaks, long enough that
    // blocks of equal suffixes hold hundreds of positions and every run
    // taken cuts the free stretches before it in both sequences.
    std::mt19937 random(8);
    for (int round = 0; round < 16; ++round) {
        const int period = 1 + round % 4;
        auto make = [&](int length) {
            std::vector<int> tokens(static_cast<std::size_t>(length));
            for (int k = 0; k < length; ++k) tokens[static_cast<std::size_t>(k)] = k % period;
            for (int breaks = static_cast<int>(random() % 6); breaks > 0; --breaks)
                tokens[random() % tokens.size()] = random() % 3 == 0 ? -1 : static_cast<int>(random() % 5);
            return tokens;
        };
        const std::vector<int> a = make(150 + static_cast<int>(random() % 100));
        const std::vector<int> b = round % 2 ? Shuffled(random, a, period) : make(150 + static_cast<int>(random() % 100));
        ExpectSameTiles(a, b, 1 + round % 5);
    }
}

std::vector<int> FoldedIds(const std::u16string& text, std::map<std::u16string, int>& ids) {
    TListWords words;
    TListSentences sentences;
    TListParagraphs paragraphs;
    SplitArticle(text, words, sentences, paragraphs);
    std::vector<int> out;
    for (const TWord& word : words) {
        std::u16string folded(WordText(text, word));
        for (char16_t& c : folded) c = FoldAscii(c);
        out.push_back(ids.emplace(folded, static_cast<int>(ids.size())).first->second);
    }
    return out;
}

TEST(AnyOrderMatching, ArticlesAgreeWithTheReference) {
    // Words under the window's rule (ASCII case folded, punctuation attached
    // kept, accented letters as they are), colours of the cycle in the
    // order of article 2, and the percentage as the share of article 2.
    TRandomArticles random(4242);
    for (int round = 0; round < 3000; ++round) {
        const auto vocabulary = random.Vocabulary();
        const std::u16string text1 = random.Article(vocabulary, 30);
        const std::u16string text2 = round % 2 ? random.Variant(text1, vocabulary) : random.Article(vocabulary, 30);
        TMatchOptions options;
        options.AnyOrder = true;
        options.MinLength = 1 + round % 8;
        TMatchArticle article1 = PrepareArticle(text1, options);
        TMatchArticle article2 = PrepareArticle(text2, options);
        const TMatchResult result = MatchArticles(article1, article2, options);

        std::map<std::u16string, int> ids;
        const auto ids1 = FoldedIds(text1, ids);
        const auto ids2 = FoldedIds(text2, ids);
        const auto expected = ReferenceTiles(ids1, ids2, options.MinLength);
        ASSERT_EQ(result.Runs, expected) << "round " << round;
        std::vector<TColor> colours1(ids1.size(), kWhite), colours2(ids2.size(), kWhite);
        int matched = 0;
        for (std::size_t r = 0; r < expected.size(); ++r) {
            const TColor colour = HighlightColor(static_cast<int>(r % 6) + 1);
            for (int k = expected[r].Start1; k <= expected[r].End1; ++k) colours1[k] = colour;
            for (int k = expected[r].Start2; k <= expected[r].End2; ++k) colours2[k] = colour;
            matched += expected[r].Words();
        }
        ASSERT_EQ(Colors(article1.Words), colours1) << "round " << round;
        ASSERT_EQ(Colors(article2.Words), colours2) << "round " << round;
        EXPECT_EQ(result.Figures.Matched2, matched);
        EXPECT_EQ(result.Figures.Matched1, matched);
        EXPECT_DOUBLE_EQ(result.Figures.Percentage, ids2.empty() ? 0.0 : 100.0 * matched / ids2.size());
    }
}

std::u16string Numbered(int from, int to, const char16_t* prefix = u"w") {
    std::u16string text;
    for (int k = from; k < to; ++k) {
        if (!text.empty()) text += u' ';
        text += prefix + std::u16string(1, static_cast<char16_t>(u'a' + k % 26)) +
                std::u16string(1, static_cast<char16_t>(u'a' + k / 26 % 26));
    }
    return text;
}

TEST(AnyOrderMatching, ShuffledParagraphsMatchInFull) {
    // Four paragraphs in the opposite order: in order about a quarter is
    // found, order-free all of it, one run per paragraph.
    const std::u16string p[4] = {Numbered(0, 20) + u".", Numbered(20, 45) + u".", Numbered(45, 60) + u".",
                                 Numbered(60, 90) + u"."};
    const std::u16string text1 = p[0] + u"\r\n" + p[1] + u"\r\n" + p[2] + u"\r\n" + p[3];
    const std::u16string text2 = p[3] + u"\r\n" + p[2] + u"\r\n" + p[1] + u"\r\n" + p[0];
    TMatchOptions options;
    options.MinLength = 3;
    TMatchArticle a1 = PrepareArticle(text1, options), a2 = PrepareArticle(text2, options);
    const TMatchResult inOrder = MatchArticles(a1, a2, options);
    EXPECT_LT(inOrder.Figures.Percentage, 50.0);

    options.AnyOrder = true;
    TMatchArticle b1 = PrepareArticle(text1, options), b2 = PrepareArticle(text2, options);
    const TMatchResult free = MatchArticles(b1, b2, options);
    EXPECT_EQ(free.Figures.Percentage, 100.0);
    EXPECT_EQ(free.Figures.Covered1, 100.0);
    EXPECT_EQ(free.Figures.Runs, 4);
    EXPECT_EQ(free.Figures.LongestRun, 30);
    EXPECT_EQ(free.Figures.Matched2, 90);
    const std::vector<TRunPair> runs = {{60, 89, 0, 29}, {45, 59, 30, 44}, {20, 44, 45, 69}, {0, 19, 70, 89}};
    EXPECT_EQ(free.Runs, runs);
    EXPECT_EQ(b2.Words[0].Color, kCyan);
    EXPECT_EQ(b2.Words[30].Color, kLightGreen);
    EXPECT_EQ(b1.Words[0].Color, kRed);  // the fourth run of article 2
}

TEST(AnyOrderMatching, CaseAndPunctuationFollowTheWindowsRule) {
    TMatchOptions options;
    options.AnyOrder = true;
    TMatchArticle a1 = PrepareArticle(u"The END: \u00DCber x-y", options);
    TMatchArticle a2 = PrepareArticle(u"the end \u00FCber X-Y", options);
    const TMatchResult result = MatchArticles(a1, a2, options);
    // 'end:' is not 'end', '\u00DCber' is not '\u00FCber'.
    const std::vector<TRunPair> runs = {{0, 0, 0, 0}, {3, 3, 3, 3}};
    EXPECT_EQ(result.Runs, runs);
    EXPECT_EQ(result.Figures.Percentage, 50.0);
}

TEST(AnyOrderMatching, SevenRunsCycleThroughTheSixColours) {
    TMatchOptions options;
    options.AnyOrder = true;
    options.MinLength = 2;
    // Runs of two words separated by words found only in one article.
    std::u16string text1, text2;
    for (int k = 0; k < 7; ++k) {
        const std::u16string run = Numbered(2 * k, 2 * k + 2);
        text1 = run + u" q" + std::u16string(1, static_cast<char16_t>(u'a' + k)) + u" " + text1;
        text2 += run + u" z" + std::u16string(1, static_cast<char16_t>(u'a' + k)) + u" ";
    }
    TMatchArticle a1 = PrepareArticle(text1, options), a2 = PrepareArticle(text2, options);
    const TMatchResult result = MatchArticles(a1, a2, options);
    ASSERT_EQ(result.Runs.size(), 7u);
    const TColor expected[] = {kCyan, kLightGreen, kYellow, kRed, kOlive, kSilver, kCyan};
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(a2.Words[3 * k].Color, expected[k]) << k;
        EXPECT_EQ(a2.Words[3 * k + 2].Color, kWhite) << k;
    }
}

TEST(InOrderMatching, AgreesWithTheCompareCommand) {
    // The companion's own walk (no panes) gives the window's colours and
    // percentage, and its run pairs cover exactly the highlighted words.
    TRandomArticles random(99);
    for (int round = 0; round < 1500; ++round) {
        const auto vocabulary = random.Vocabulary();
        const std::u16string text1 = random.Article(vocabulary, 25);
        const std::u16string text2 = round % 2 ? random.Variant(text1, vocabulary) : random.Article(vocabulary, 25);
        const int length = 1 + random.Below(4);
        const int unit = random.Below(3);
        TComparePanes window(text1, text2);
        const TCompareOutcome outcome = window.Compare(length, unit);

        TMatchOptions options;
        options.MinLength = length;
        options.Unit = unit;
        TMatchArticle a1 = PrepareArticle(text1, options), a2 = PrepareArticle(text2, options);
        const TMatchResult result = MatchArticles(a1, a2, options);
        ASSERT_EQ(Colors(a1.Words), Colors(window.comparer.FWords1)) << "round " << round;
        ASSERT_EQ(Colors(a2.Words), Colors(window.comparer.FWords2)) << "round " << round;
        ASSERT_EQ(result.Figures.Percentage, outcome.Percentage) << "round " << round;
        std::vector<bool> covered2(static_cast<std::size_t>(a2.Words.Count()));
        for (const TRunPair& run : result.Runs) {
            ASSERT_EQ(run.End1 - run.Start1, run.End2 - run.Start2);
            for (int k = run.Start2; k <= run.End2; ++k) covered2[k] = true;
        }
        for (int k = 0; k < a2.Words.Count(); ++k)
            ASSERT_EQ(covered2[k], a2.Words[k].Color != kWhite) << "round " << round << " word " << k;
    }
}

TEST(Exclusions, QuotedPassages) {
    TMatchOptions options;
    options.IgnoreQuoted = true;
    const TMatchArticle article = PrepareArticle(
        u"He said \"one two\" and \u201Cthree\u201D, \u00AB quatre \u00BB end.\r\n"
        u"A \"stray mark\r\nnext line \u201Dclose",
        options);
    const TWordFlags expected = {0, 0, 1, 1, 0, 1, 1, 1, 1, 0,
                                 0, 1, 1, 0, 0, 0};
    EXPECT_EQ(article.Excluded, expected);
    EXPECT_EQ(article.ExcludedCount, 8);
}

TEST(Exclusions, PhrasesEverywhereCaseIgnored) {
    TMatchOptions options;
    options.Phrases = PhraseLines(u"\r\nall rights reserved.\r\n  \r\nx x\nnot present here\n");
    ASSERT_EQ(options.Phrases.size(), 3u);
    const TMatchArticle article = PrepareArticle(u"All Rights reserved, x x x; all rights", options);
    const TWordFlags expected = {1, 1, 1, 1, 1, 1, 0, 0};
    EXPECT_EQ(article.Excluded, expected);
}

TEST(Exclusions, LeftOutWordsNeitherMatchNorCount) {
    // The disclaimer is in both articles; left out, it neither matches nor
    // counts, in either mode, and a run cannot pass through it.
    const std::u16string disclaimer = u"Views are my own.";
    const std::u16string text1 = u"alpha beta gamma " + disclaimer + u" delta epsilon";
    const std::u16string text2 = u"alpha beta " + disclaimer + u" gamma delta epsilon zeta";
    for (const bool anyOrder : {false, true}) {
        TMatchOptions options;
        options.AnyOrder = anyOrder;
        options.Phrases = {disclaimer};
        TMatchArticle a1 = PrepareArticle(text1, options), a2 = PrepareArticle(text2, options);
        const TMatchResult result = MatchArticles(a1, a2, options);
        EXPECT_EQ(result.Figures.Excluded1, 4);
        EXPECT_EQ(result.Figures.Excluded2, 4);
        EXPECT_EQ(result.Figures.Words2, 6);
        for (int k = 2; k < 6; ++k) EXPECT_EQ(a2.Words[k].Color, kWhite) << anyOrder << " " << k;
        if (anyOrder) {
            // 'alpha beta', 'gamma', 'delta epsilon': in article 1 the
            // disclaimer stands between gamma and delta.
            EXPECT_EQ(result.Figures.Matched2, 5);
            EXPECT_DOUBLE_EQ(result.Figures.Percentage, 500.0 / 6);
            EXPECT_EQ(result.Figures.Runs, 3);
            EXPECT_EQ(result.Figures.LongestRun, 2);
        } else {
            EXPECT_GT(result.Figures.Matched2, 0);
            EXPECT_DOUBLE_EQ(result.Figures.Percentage, result.Figures.Matched2 * 100.0 / 6);
        }
        TMatchOptions plain;
        plain.AnyOrder = anyOrder;
        TMatchArticle p1 = PrepareArticle(text1, plain), p2 = PrepareArticle(text2, plain);
        // Not left out, the disclaimer matches as well.
        if (anyOrder) {
            EXPECT_EQ(MatchArticles(p1, p2, plain).Figures.Matched2, 9);
        }
    }
}

}  // namespace
}  // namespace rasp
