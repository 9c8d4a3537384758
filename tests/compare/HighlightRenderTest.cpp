#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CompareTestSupport.h"
#include "compare/HighlightRender.h"
#include "text/SplitArticle.h"

namespace rasp {
namespace {

using namespace rasp::testing;

// The rendered formats as one letter per character: '.' plain, 'C' cyan
// bold, 'G' light green bold; anything else fails.
std::string Shape(const TMemoryRichTextPane& pane) {
    std::string out;
    for (const TCharFormat& f : pane.Formats()) {
        if (f == TCharFormat{}) out += '.';
        else if (f == TCharFormat{0, true, kCyan}) out += 'C';
        else if (f == TCharFormat{0, true, kLightGreen}) out += 'G';
        else out += '?';
    }
    return out;
}

std::string Render(const std::u16string& text, const std::vector<TColor>& colors) {
    TListWords words;
    TListSentences sentences;
    TListParagraphs paragraphs;
    SplitArticle(text, words, sentences, paragraphs);
    for (int i = 0; i < words.Count() && i < static_cast<int>(colors.size()); ++i)
        words[i].Color = colors[static_cast<std::size_t>(i)];
    TMemoryRichTextPane pane;
    pane.SetText(u"something else entirely");
    pane.Select(0, 5);
    pane.SetSelBackColor(kRed);
    RenderHighlights(pane, words, text);
    EXPECT_EQ(pane.Text(), text);
    return Shape(pane);
}

TEST(RenderHighlights, Stretches) {
    EXPECT_EQ(Render(u"one, two three", {}), "..............");
    // Leading text is plain; ', ' between two cyan words is cyan.
    EXPECT_EQ(Render(u"  one, two three", {kCyan, kCyan}), "..CCCCCCCC......");
    // The separator between a highlighted and a plain word is plain.
    EXPECT_EQ(Render(u"one two", {kCyan, kWhite}), "CCC....");
    // Between two colours the separator is plain.
    EXPECT_EQ(Render(u"one two", {kCyan, kLightGreen}), "CCC.GGG");
    // Trailing punctuation follows the last word's colour.
    EXPECT_EQ(Render(u"one two!!\r\n", {kWhite, kCyan}), "....CCCCCCC");
    EXPECT_EQ(Render(u"one two!!", {kCyan, kWhite}), "CCC......");
    // No words at all: one plain run.
    EXPECT_EQ(Render(u" ,.;\r\n", {}), "......");
    EXPECT_EQ(Render(u"", {}), "");
}

TEST(RenderHighlights, WordsBeyondTheTextAreCut) {
    // Spans that do not fit the text (stale lists) never read outside it.
    TListWords words;
    words.AddWord(1, 4, kCyan);
    words.AddWord(6, 50, kCyan);
    words.AddWord(70, 80, kCyan);
    TMemoryRichTextPane pane;
    RenderHighlights(pane, words, u"abc defg");
    EXPECT_EQ(pane.Text(), u"abc defg");
}

TEST(ClearFormatting, ResetsEverything) {
    TMemoryRichTextPane pane;
    ClearFormatting(pane);
    EXPECT_EQ(pane.Text(), u"");
    EXPECT_EQ(pane.SelStart(), 0);
    EXPECT_EQ(pane.SelLength(), 0);

    pane.SetText(u"abc def");
    pane.Select(2, 3);
    pane.SetSelAttributes(kRed, true);
    pane.SetSelBackColor(kYellow);
    pane.Select(4, 2);
    ClearFormatting(pane);
    EXPECT_EQ(Shape(pane), ".......");
    EXPECT_EQ(pane.SelStart(), 0);
    EXPECT_EQ(pane.SelLength(), 0);
}

TEST(AppendRun, AppendsAtTheEnd) {
    TMemoryRichTextPane pane;
    AppendRun(pane, u"plain ", kWhite);
    AppendRun(pane, u"hot", kCyan);
    AppendRun(pane, u"!", kWhite);
    EXPECT_EQ(pane.Text(), u"plain hot!");
    EXPECT_EQ(Shape(pane), "......CCC.");
    EXPECT_EQ(pane.SelStart(), 10);
}

// The bulk-edit brackets must close even when the rebuild fails half-way.
class TCountingPane : public TMemoryRichTextPane {
public:
    int open = 0;
    int appends = 0;
    bool failOnAppend = false;
    void BeginBulkEdit() override { ++open; }
    void EndBulkEdit() override { --open; }
    void ReplaceSelection(const std::u16string& text) override {
        if (failOnAppend) throw std::runtime_error("out of memory");
        ++appends;
        TMemoryRichTextPane::ReplaceSelection(text);
    }
};

TEST(RenderHighlights, RunsOfOneColourAreJoinedAndBracketed) {
    TListWords words;
    TListSentences sentences;
    TListParagraphs paragraphs;
    const std::u16string text = u"a b c d e f";
    SplitArticle(text, words, sentences, paragraphs);
    for (int i = 0; i < 3; ++i) words[i].Color = kCyan;
    TCountingPane pane;
    RenderHighlights(pane, words, text);
    EXPECT_EQ(pane.appends, 2);  // one cyan stretch, one plain stretch
    EXPECT_EQ(pane.open, 0);
    pane.failOnAppend = true;
    EXPECT_THROW(RenderHighlights(pane, words, text), std::runtime_error);
    EXPECT_EQ(pane.open, 0);
}

}  // namespace
}  // namespace rasp
