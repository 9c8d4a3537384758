#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "text/SplitArticle.h"

namespace rasp {
namespace {

using Pairs = std::vector<std::pair<int, int>>;

struct Split {
    TListWords words;
    TListSentences sentences;
    TListParagraphs paragraphs;
    explicit Split(std::u16string_view text) { SplitArticle(text, words, sentences, paragraphs); }
    Pairs Words() const {
        Pairs out;
        for (const TWord& w : words) out.emplace_back(w.StartPos, w.EndPos);
        return out;
    }
    Pairs Sentences() const {
        Pairs out;
        for (const TSentence& s : sentences) out.emplace_back(s.FirstWord, s.LastWord);
        return out;
    }
    Pairs Paragraphs() const {
        Pairs out;
        for (const TParagraph& p : paragraphs) out.emplace_back(p.FirstWord, p.LastWord);
        return out;
    }
};

TEST(SplitArticle, WorkedExample) {
    const std::u16string text = u"Hello, world. Bye!\r\nNew line";
    ASSERT_EQ(text.size(), 28u);
    Split s(text);
    EXPECT_EQ(s.Words(), (Pairs{{1, 6}, {8, 13}, {15, 18}, {21, 24}, {25, 29}}));
    EXPECT_EQ(s.Sentences(), (Pairs{{0, 1}, {2, 2}, {3, 4}}));
    EXPECT_EQ(s.Paragraphs(), (Pairs{{0, 2}, {3, 4}}));
    for (const TWord& w : s.words) EXPECT_EQ(w.Color, 0xFFFFFFu);
}

TEST(SplitArticle, NoWordsNoSpans) {
    for (const std::u16string_view text : {u"", u"... ,;", u"\r\n\r\n", u" ! ? . "}) {
        Split s(text);
        EXPECT_EQ(s.words.Count(), 0);
        EXPECT_EQ(s.sentences.Count(), 0);
        EXPECT_EQ(s.paragraphs.Count(), 0);
    }
}

TEST(SplitArticle, SmallTexts) {
    Split one(u"a");
    EXPECT_EQ(one.Words(), (Pairs{{1, 2}}));
    EXPECT_EQ(one.Sentences(), (Pairs{{0, 0}}));
    EXPECT_EQ(one.Paragraphs(), (Pairs{{0, 0}}));

    Split two(u"one two");
    EXPECT_EQ(two.Words().size(), 2u);
    EXPECT_EQ(two.Sentences(), (Pairs{{0, 1}}));
    EXPECT_EQ(two.Paragraphs(), (Pairs{{0, 1}}));
}

TEST(SplitArticle, WordCharactersAndSeparators) {
    Split colon(u"Wait: yes");
    EXPECT_EQ(colon.Words(), (Pairs{{1, 6}, {7, 10}}));  // the colon belongs to the word

    Split tab(u"a\tb c");
    EXPECT_EQ(tab.Words(), (Pairs{{1, 4}, {5, 6}}));  // a tab does not separate

    Split dot(u"A.B");
    EXPECT_EQ(dot.Words(), (Pairs{{1, 2}, {3, 4}}));
    EXPECT_EQ(dot.Sentences(), (Pairs{{0, 0}, {1, 1}}));
    EXPECT_EQ(dot.Paragraphs(), (Pairs{{0, 1}}));

    Split pi(u"3.14 is pi");
    EXPECT_EQ(pi.Words().size(), 4u);
    EXPECT_EQ(pi.Sentences(), (Pairs{{0, 0}, {1, 3}}));

    // Everything outside the eight separators is a word character, non-ASCII too.
    Split other(u"x\u00A0y \u2013 \u00DCber-all \"q\"");
    EXPECT_EQ(other.Words(), (Pairs{{1, 4}, {5, 6}, {7, 15}, {16, 19}}));
}

TEST(SplitArticle, SentenceAndParagraphEnds) {
    Split spaced(u"Hi . there");
    EXPECT_EQ(spaced.Sentences(), (Pairs{{0, 0}, {1, 1}}));

    Split bangs(u"Stop!!! Go?! Now");
    EXPECT_EQ(bangs.Sentences(), (Pairs{{0, 0}, {1, 1}, {2, 2}}));

    Split commas(u"a, b; c d.");
    EXPECT_EQ(commas.Sentences(), (Pairs{{0, 3}}));

    // Blank lines between paragraphs open nothing.
    Split blank(u"first line\r\n\r\n\r\nsecond line\r\n");
    EXPECT_EQ(blank.Paragraphs(), (Pairs{{0, 1}, {2, 3}}));
    EXPECT_EQ(blank.Sentences(), (Pairs{{0, 1}, {2, 3}}));

    // A line break also ends the sentence, so no sentence spans two paragraphs.
    Split lines(u"no stop here\r\nnext");
    EXPECT_EQ(lines.Sentences(), (Pairs{{0, 2}, {3, 3}}));

    // Leading and trailing white space create no spans.
    Split padded(u"  \r\n  word  \r\n ");
    EXPECT_EQ(padded.Words(), (Pairs{{7, 11}}));
    EXPECT_EQ(padded.Paragraphs(), (Pairs{{0, 0}}));
}

TEST(SplitArticle, RefillsTheLists) {
    TListWords words;
    TListSentences sentences;
    TListParagraphs paragraphs;
    SplitArticle(u"one two. three\r\nfour", words, sentences, paragraphs);
    words[0].Color = 0xFFFF00;
    SplitArticle(u"five", words, sentences, paragraphs);
    ASSERT_EQ(words.Count(), 1);
    EXPECT_EQ(words[0].Color, 0xFFFFFFu);
    EXPECT_EQ(sentences.Count(), 1);
    EXPECT_EQ(paragraphs.Count(), 1);
}

// Invariants over many generated texts: words ascend without overlap and have
// no separator inside, every word character is covered, and sentences and
// paragraphs tile the words in order.
TEST(SplitArticle, InvariantsOnGeneratedTexts) {
    const std::u16string alphabet = u"ab \r\n.,;!?:\t\u00E9";
    unsigned seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int round = 0; round < 2000; ++round) {
        std::u16string text;
        const unsigned length = next() % 40;
        for (unsigned i = 0; i < length; ++i) text.push_back(alphabet[next() % alphabet.size()]);
        Split s(text);
        std::vector<bool> covered(text.size() + 2, false);
        int previousEnd = 0;
        for (const TWord& w : s.words) {
            ASSERT_GT(w.EndPos, w.StartPos);
            ASSERT_GT(w.StartPos, previousEnd);
            for (int p = w.StartPos; p < w.EndPos; ++p) {
                ASSERT_FALSE(IsSeparator(text[static_cast<std::size_t>(p - 1)]));
                covered[static_cast<std::size_t>(p)] = true;
            }
            if (w.EndPos <= static_cast<int>(text.size())) {
                ASSERT_TRUE(IsSeparator(text[static_cast<std::size_t>(w.EndPos - 1)]));
            }
            previousEnd = w.EndPos;
        }
        for (std::size_t i = 0; i < text.size(); ++i)
            ASSERT_EQ(covered[i + 1], !IsSeparator(text[i])) << "position " << i + 1;
        auto tiles = [&](const Pairs& spans) {
            int expected = 0;
            for (auto [first, last] : spans) {
                ASSERT_EQ(first, expected);
                ASSERT_LE(first, last);
                expected = last + 1;
            }
            ASSERT_EQ(expected, s.words.Count());
        };
        tiles(s.Sentences());
        tiles(s.Paragraphs());
    }
}

}  // namespace
}  // namespace rasp
