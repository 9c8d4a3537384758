#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "CompareTestSupport.h"

namespace rasp {
namespace {

using namespace rasp::testing;
using Windows = std::vector<std::pair<int, int>>;

Windows Walk(const TArticleComparer& c) {
    Windows out;
    int cursor = -1;
    int start = 0;
    int end = 0;
    while (c.NextWindow(cursor, start, end)) out.emplace_back(start, end);
    return out;
}

TEST(NextWindow, WordWindowsSlideAndShrink) {
    TArticleComparer c;
    Load(c, u"w0 w1 w2 w3 w4 w5 w6 w7 w8 w9", u"x");
    c.FMinLength = 3;
    EXPECT_EQ(Walk(c), (Windows{{0, 2}, {1, 3}, {2, 4}, {3, 5}, {4, 6}, {5, 7}, {6, 8}, {7, 9},
                                {8, 9}, {9, 9}}));
    c.FMinLength = 20;  // longer than the article: shrinking tails only
    EXPECT_EQ(Walk(c), (Windows{{0, 9}, {1, 9}, {2, 9}, {3, 9}, {4, 9}, {5, 9}, {6, 9}, {7, 9},
                                {8, 9}, {9, 9}}));
    c.FMinLength = 0;  // kept at one unit
    EXPECT_EQ(Walk(c).size(), 10u);
    c.FMinLength = -4;
    EXPECT_EQ(Walk(c).front(), std::make_pair(0, 0));
    c.FMinLength = 2147483647;
    EXPECT_EQ(Walk(c).front(), std::make_pair(0, 9));
}

TEST(NextWindow, SentenceAndParagraphWindows) {
    TArticleComparer c;
    Load(c, u"One two. Three four five. Six.\r\nSeven\r\n\r\nEight nine", u"x");
    c.FMinLength = 2;
    c.FUnitKind = ukSentences;
    EXPECT_EQ(Walk(c), (Windows{{0, 4}, {2, 5}, {5, 6}, {6, 8}, {7, 8}}));
    c.FUnitKind = ukParagraphs;
    EXPECT_EQ(Walk(c), (Windows{{0, 6}, {6, 8}, {7, 8}}));
    c.FUnitKind = 3;
    EXPECT_TRUE(Walk(c).empty());
    int cursor = 5, start = 0, end = 0;
    EXPECT_FALSE(c.NextWindow(cursor, start, end));
    EXPECT_EQ(cursor, 5);  // an unknown kind leaves the cursor alone
    EXPECT_EQ(start, -1);
}

TEST(NextWindow, ThreeSentencesTwoAtATime) {
    TArticleComparer c;
    Load(c, u"A b. C d. E f.", u"x");
    c.FMinLength = 2;
    c.FUnitKind = ukSentences;
    EXPECT_EQ(Walk(c), (Windows{{0, 3}, {2, 5}, {4, 5}}));
}

TEST(FindMatch, ClippedWindowsContinueTheRun) {
    TArticleComparer c;
    Load(c, u"a b c", u"x a b c");
    int resume = -1, m0 = -1, m1 = -1;
    ASSERT_TRUE(c.FindMatch(0, 2, resume, m0, m1));
    EXPECT_EQ(std::make_pair(m0, m1), std::make_pair(1, 3));
    EXPECT_EQ(c.FColorIndex, 1);
    ASSERT_TRUE(c.FindMatch(1, 2, resume, m0, m1));
    EXPECT_EQ(std::make_pair(m0, m1), std::make_pair(2, 3));
    ASSERT_TRUE(c.FindMatch(2, 2, resume, m0, m1));
    EXPECT_EQ(std::make_pair(m0, m1), std::make_pair(3, 3));
    EXPECT_EQ(c.FColorIndex, 1);
    EXPECT_EQ(Colors(c.FWords1), (std::vector<TColor>{kCyan, kCyan, kCyan}));
    EXPECT_EQ(Colors(c.FWords2), (std::vector<TColor>{kWhite, kCyan, kCyan, kCyan}));
}

TEST(FindMatch, RestartAndRestartedMode) {
    TArticleComparer c;
    Load(c, u"b a", u"a b");
    int resume = -1, m0 = -1, m1 = -1;
    // 'a' fails at the window's last word: start over, find 'b' at 1, colour 1.
    ASSERT_TRUE(c.FindMatch(0, 0, resume, m0, m1));
    EXPECT_EQ(m0, 1);
    EXPECT_EQ(resume, 1);
    EXPECT_EQ(c.FColorIndex, 1);
    // The previous match began at the last word: restarted mode, colour 2.
    ASSERT_TRUE(c.FindMatch(1, 1, resume, m0, m1));
    EXPECT_EQ(m0, 0);
    EXPECT_EQ(c.FColorIndex, 2);
    EXPECT_EQ(Colors(c.FWords1), (std::vector<TColor>{kCyan, kLightGreen}));
    EXPECT_EQ(Colors(c.FWords2), (std::vector<TColor>{kLightGreen, kCyan}));
}

TEST(FindMatch, OnlyAsciiLettersAreFolded) {
    TArticleComparer c;
    Load(c, u"The \u00DCber end", u"the \u00FCber end:");
    int resume = -1, m0 = -1, m1 = -1;
    EXPECT_TRUE(c.FindMatch(0, 0, resume, m0, m1));
    EXPECT_FALSE(c.FindMatch(1, 1, resume, m0, m1));  // 'Über' is not 'über'
    EXPECT_FALSE(c.FindMatch(2, 2, resume, m0, m1));  // 'end' is not 'end:'
    EXPECT_EQ(Colors(c.FWords2), (std::vector<TColor>{kCyan, kWhite, kWhite}));
}

TEST(FindMatch, SevenRunsCycleTheColours) {
    TArticleComparer c;
    Load(c, u"a b c d e f g", u"a x b x c x d x e x f x g");
    int resume = -1, m0 = -1, m1 = -1;
    std::vector<int> indices;
    for (int i = 0; i < 7; ++i) {
        ASSERT_TRUE(c.FindMatch(i, i, resume, m0, m1));
        indices.push_back(c.FColorIndex);
    }
    EXPECT_EQ(indices, (std::vector<int>{1, 2, 3, 4, 5, 6, 1}));
    EXPECT_EQ(Colors(c.FWords1),
              (std::vector<TColor>{kCyan, kLightGreen, kYellow, kRed, kOlive, kSilver, kCyan}));
}

TEST(FindMatch, EmptyArticle2AndBadWindows) {
    TArticleComparer c;
    Load(c, u"a b", u"");
    int resume = -1, m0 = 7, m1 = 7;
    EXPECT_FALSE(c.FindMatch(0, 1, resume, m0, m1));
    EXPECT_EQ(m0, 7);  // not written when not found
    EXPECT_EQ(resume, -1);
    Load(c, u"a b", u"a b");
    EXPECT_FALSE(c.FindMatch(1, 0, resume, m0, m1));
    EXPECT_FALSE(c.FindMatch(-1, 0, resume, m0, m1));
    EXPECT_FALSE(c.FindMatch(0, 2, resume, m0, m1));
    EXPECT_EQ(Colors(c.FWords1), (std::vector<TColor>{kWhite, kWhite}));
}

TEST(FindMatch, ListsRefilledBetweenCalls) {
    TArticleComparer c;
    Load(c, u"a", u"b");
    int resume = -1, m0 = -1, m1 = -1;
    EXPECT_FALSE(c.FindMatch(0, 0, resume, m0, m1));
    // The window's change handling refills the lists without telling the search.
    SplitArticle(u"x y z a", c.FWords1, c.FSentences1, c.FParagraphs1);
    SplitArticle(u"q r s t u a", c.FWords2, c.FSentences2, c.FParagraphs2);
    c.FText1 = u"x y z a";
    c.FText2 = u"q r s t u a";
    resume = -1;
    ASSERT_TRUE(c.FindMatch(3, 3, resume, m0, m1));
    EXPECT_EQ(m0, 5);
}

TEST(FindMatch, OtherColoursAreNeverMatchedAgain) {
    TArticleComparer c;
    // 'a b' matches at 0..1 in colour 1; 'z' starts a new run elsewhere; then
    // 'a b' again cannot reuse the words of colour 1.
    Load(c, u"a b z a b", u"a b q z");
    c.FMinLength = 2;
    int resume = -1, m0 = -1, m1 = -1;
    ASSERT_TRUE(c.FindMatch(0, 1, resume, m0, m1));
    EXPECT_FALSE(c.FindMatch(1, 2, resume, m0, m1));
    ASSERT_TRUE(c.FindMatch(2, 2, resume, m0, m1));
    EXPECT_EQ(c.FColorIndex, 2);
    EXPECT_FALSE(c.FindMatch(3, 4, resume, m0, m1));
    EXPECT_EQ(Colors(c.FWords2), (std::vector<TColor>{kCyan, kCyan, kWhite, kLightGreen}));
}

TEST(CompareEx, IdenticalArticlesAreAllOneColour) {
    const std::u16string text = u"one two three four five six seven eight nine ten";
    TComparePanes p(text, text);
    const TCompareOutcome outcome = p.Compare(3, ukWords);
    EXPECT_TRUE(outcome.Ran);
    EXPECT_DOUBLE_EQ(outcome.Percentage, 100.0);
    EXPECT_EQ(Colors(p.comparer.FWords1), std::vector<TColor>(10, kCyan));
    EXPECT_EQ(Colors(p.comparer.FWords2), std::vector<TColor>(10, kCyan));
    EXPECT_FALSE(p.comparer.Comparing);
    EXPECT_EQ(p.pane1.Text(), text);
    EXPECT_EQ(p.pane2.Text(), text);
    for (const TCharFormat& f : p.pane2.Formats()) EXPECT_EQ(f, (TCharFormat{0, true, kCyan}));
}

TEST(CompareEx, BlankArticleDoesNothing) {
    for (const auto& [a, b] : {std::pair<std::u16string, std::u16string>{u"", u"x"},
                               {u"x", u" \r\n\t "}}) {
        TComparePanes p(a, b);
        p.pane1.Select(0, static_cast<int>(a.size()));
        p.pane1.SetSelBackColor(kRed);
        const int changes = p.pane1.ChangeCount() + p.pane2.ChangeCount();
        const TCompareOutcome outcome = p.Compare(1, ukWords);
        EXPECT_FALSE(outcome.Ran);
        EXPECT_FALSE(p.comparer.Comparing);
        EXPECT_EQ(p.pane1.ChangeCount() + p.pane2.ChangeCount(), changes);
        if (!a.empty()) {
            EXPECT_EQ(p.pane1.CharFormat(0).BackColor, kRed);
        }
    }
}

TEST(CompareEx, NoWordsInArticle1) {
    TComparePanes p(u"... ,;", u"some words here");
    p.pane2.Select(0, 4);
    p.pane2.SetSelBackColor(kRed);
    const TCompareOutcome outcome = p.Compare(1, ukWords);
    EXPECT_TRUE(outcome.Ran);
    EXPECT_EQ(outcome.Percentage, 0.0);
    for (const TCharFormat& f : p.pane2.Formats()) EXPECT_EQ(f, TCharFormat{});
    EXPECT_EQ(p.pane1.Text(), u"... ,;");
}

TEST(CompareEx, PercentageUsesTheCounterShown) {
    TComparePanes p(u"a b c", u"a b c d e f");
    TCompareOutcome outcome = p.comparer.CompareEx(p.pane1, p.pane2, 1, ukWords, 4);
    EXPECT_DOUBLE_EQ(outcome.Percentage, 75.0);  // 3 highlighted of the 4 shown
    outcome = p.comparer.CompareEx(p.pane1, p.pane2, 1, ukWords, 0);
    EXPECT_EQ(outcome.Percentage, 0.0);
    outcome = p.comparer.CompareEx(p.pane1, p.pane2, 1, ukWords, -3);
    EXPECT_EQ(outcome.Percentage, 0.0);
    outcome = p.comparer.CompareEx(p.pane1, p.pane2, 1, ukWords, 6);
    EXPECT_DOUBLE_EQ(outcome.Percentage, 50.0);
}

TEST(CompareEx, SpinValueIsTruncatedAndKeptPositive) {
    TComparePanes p(u"a b c d", u"a b c d");
    p.Compare(2.9, ukWords);
    EXPECT_EQ(p.comparer.FMinLength, 2);
    p.Compare(0, ukWords);
    EXPECT_EQ(p.comparer.FMinLength, 1);
    p.Compare(-7.5, ukWords);
    EXPECT_EQ(p.comparer.FMinLength, 1);
    p.Compare(1e300, ukWords);
    EXPECT_EQ(p.comparer.FMinLength, 2147483647);
    EXPECT_EQ(Colors(p.comparer.FWords2), std::vector<TColor>(4, kCyan));
}

TEST(CompareEx, SegmentsThePanesCurrentText) {
    TComparePanes p(u"old text", u"x");
    p.pane1.SetText(u"alpha beta");
    p.pane2.SetText(u"beta gamma");
    p.comparer.FText1 = u"alpha beta";
    p.comparer.FText2 = u"beta gamma";
    const TCompareOutcome outcome = p.comparer.CompareEx(p.pane1, p.pane2, 1, ukWords, 2);
    EXPECT_DOUBLE_EQ(outcome.Percentage, 50.0);
    EXPECT_EQ(p.comparer.FWords1.Count(), 2);
}

// A pane whose text cannot be read fails the comparison; the flag must not
// stay set, or both panes' change handling would stay quiet for good.
class TFailingPane : public TMemoryRichTextPane {
public:
    std::u16string GetText() const override { throw std::runtime_error("pane gone"); }
};

TEST(CompareEx, ComparingIsResetAfterAnException) {
    TArticleComparer c;
    TMemoryRichTextPane good;
    TFailingPane bad;
    c.FText1 = u"a";
    c.FText2 = u"a";
    EXPECT_THROW(c.CompareEx(good, bad, 1, ukWords, 1), std::runtime_error);
    EXPECT_FALSE(c.Comparing);
}

TEST(CompareEx, ComparingIsSetWhileThePanesAreRebuilt) {
    TComparePanes p(u"a b", u"a b");
    int quietChanges = 0;
    p.pane1.SetOnChange([&] { quietChanges += p.comparer.Comparing ? 1 : 0; });
    p.Compare(1, ukWords);
    EXPECT_GT(quietChanges, 0);
    EXPECT_FALSE(p.comparer.Comparing);
}

}  // namespace
}  // namespace rasp
