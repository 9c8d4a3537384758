#include <gtest/gtest.h>

#include "CompareTestSupport.h"
#include "compare/KeywordDensity.h"
#include "text/TextTrim.h"

#include <random>

namespace rasp {
namespace {

using namespace rasp::testing;

std::string Marks(const TMemoryRichTextPane& pane) {
    std::string out;
    for (const TCharFormat& f : pane.Formats()) {
        if (f == TCharFormat{}) out += '.';
        else if (f == TCharFormat{0, false, kYellow}) out += 'Y';
        else out += '?';
    }
    return out;
}

TEST(KeywordDensity, CaseInsensitiveInsideWords) {
    TMemoryRichTextPane pane;
    pane.SetText(u"The theme of the");
    int pumps = 0;
    const TDensityResult r = CalculateKwDensity(pane, u"the", 4, [&] { ++pumps; });
    EXPECT_EQ(r.Count, 3);
    EXPECT_EQ(pumps, 3);
    EXPECT_DOUBLE_EQ(r.Percentage, 75.0);
    EXPECT_EQ(Marks(pane), "YYY.YYY......YYY");
    EXPECT_EQ(pane.SelStart(), 13);  // the last occurrence stays selected
    EXPECT_EQ(pane.SelLength(), 3);
}

TEST(KeywordDensity, OverlappingOccurrencesAndTrimmedPhrase) {
    TMemoryRichTextPane pane;
    pane.SetText(u"aaaa");
    EXPECT_EQ(CalculateKwDensity(pane, u"  aa\t\r\n", 1, nullptr).Count, 3);
    EXPECT_EQ(Marks(pane), "YYYY");
    pane.SetText(u"start art");
    EXPECT_EQ(CalculateKwDensity(pane, u"ART", 2, nullptr).Count, 2);
}

TEST(KeywordDensity, PercentageOfTheCounterShown) {
    TMemoryRichTextPane pane;
    pane.SetText(u"x y x z x");
    EXPECT_DOUBLE_EQ(CalculateKwDensity(pane, u"x", 150, nullptr).Percentage, 2.0);
}

TEST(KeywordDensity, NothingToCount) {
    TMemoryRichTextPane pane;
    pane.SetText(u"some words");
    pane.Select(0, 4);
    pane.SetSelBackColor(kCyan);
    TDensityResult r = CalculateKwDensity(pane, u"missing", 2, nullptr);
    EXPECT_EQ(r.Count, 0);
    EXPECT_EQ(r.Percentage, 0.0);
    EXPECT_EQ(Marks(pane), "..........");  // earlier highlighting is gone

    r = CalculateKwDensity(pane, u" \t ", 2, nullptr);  // blank phrase
    EXPECT_EQ(r.Count, 0);
    EXPECT_EQ(r.Percentage, 0.0);
    EXPECT_EQ(Marks(pane), "..........");

    TMemoryRichTextPane empty;
    r = CalculateKwDensity(empty, u"x", 0, nullptr);
    EXPECT_EQ(r.Count, 0);
    EXPECT_EQ(r.Percentage, 0.0);

    // Text of separators only: the word counter shows 0, the percentage is 0.
    TMemoryRichTextPane dots;
    dots.SetText(u"...");
    r = CalculateKwDensity(dots, u".", 0, nullptr);
    EXPECT_EQ(r.Count, 3);
    EXPECT_EQ(r.Percentage, 0.0);

    // Only line breaks: no text, so 0 whatever the counter says.
    TMemoryRichTextPane breaks;
    breaks.SetText(u"\r\n\r\n");
    EXPECT_EQ(CalculateKwDensity(breaks, u"\r", 5, nullptr).Percentage, 0.0);
}

TEST(KeywordDensity, FindsAnOccurrenceAtTheVeryEnd) {
    TMemoryRichTextPane pane;
    pane.SetText(u"line one\r\nend");
    EXPECT_EQ(CalculateKwDensity(pane, u"END", 3, nullptr).Count, 1);
    EXPECT_EQ(Marks(pane), "..........YYY");
}

// Every occurrence, found the plain way: each start position where the
// phrase matches with ASCII letter case ignored.
std::vector<int> ReferenceOccurrences(const std::u16string& text, const std::u16string& phrase) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    std::vector<int> found;
    for (std::size_t i = 0; i + phrase.size() <= text.size(); ++i) {
        bool match = true;
        for (std::size_t k = 0; k < phrase.size() && match; ++k) match = lower(text[i + k]) == lower(phrase[k]);
        if (match) found.push_back(static_cast<int>(i));
    }
    return found;
}

TEST(KeywordDensity, CountAndHighlightingEqualAPlainReferenceOnRandomArticles) {
    // Few letters and short phrases, so that occurrences overlap, touch, sit
    // inside words, span spaces and line breaks, and meet the ends.
    std::mt19937 rng(20261209);
    const std::u16string letters = u"aAbBnN ";
    for (int round = 0; round < 400; ++round) {
        std::u16string text;
        const int length = static_cast<int>(rng() % 300);
        for (int i = 0; i < length; ++i) {
            if (rng() % 25 == 0) text += u"\r\n";
            else text += letters[rng() % letters.size()];
        }
        std::u16string phrase;
        const int phraseLength = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < phraseLength; ++i) phrase += letters[rng() % (letters.size() - 1)];
        if (rng() % 5 == 0) phrase = u" " + phrase + u"\t";  // trimmed away
        SCOPED_TRACE(::testing::Message() << "round " << round);

        TMemoryRichTextPane pane;
        pane.SetText(text);
        // Earlier highlighting that must disappear.
        pane.Select(0, static_cast<int>(text.size() / 2));
        pane.SetSelAttributes(0x0000FF, true);
        pane.SetSelBackColor(kCyan);
        int pumps = 0;
        const TDensityResult r = CalculateKwDensity(pane, phrase, 50, [&] { ++pumps; });

        const std::u16string key(TrimBlanks(phrase));
        const std::vector<int> expected = ReferenceOccurrences(text, key);
        ASSERT_EQ(r.Count, static_cast<int>(expected.size()));
        EXPECT_EQ(pumps, r.Count);
        std::string marks(text.size(), '.');
        for (const int p : expected) marks.replace(static_cast<std::size_t>(p), key.size(), key.size(), 'Y');
        EXPECT_EQ(Marks(pane), marks);
        if (!expected.empty()) {
            EXPECT_EQ(pane.SelStart(), expected.back());
            EXPECT_EQ(pane.SelLength(), static_cast<int>(key.size()));
        }
        EXPECT_DOUBLE_EQ(r.Percentage, text.empty() ? 0.0 : r.Count / 50.0 * 100);
        EXPECT_EQ(pane.GetText(), text);
    }
}

}  // namespace
}  // namespace rasp
