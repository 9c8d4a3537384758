#include <gtest/gtest.h>

#include "CompareTestSupport.h"
#include "compare/KeywordDensity.h"

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

}  // namespace
}  // namespace rasp
