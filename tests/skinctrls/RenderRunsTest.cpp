// The window's pane rebuilt in one pass against the run-by-run rebuild it
// replaces: on random articles and colours, from random earlier contents, both
// panes must end up with the same text, the same format on every character,
// the same document, caret, insertion format and change notifications.

#include "compare/HighlightRender.h"
#include "skinctrls/TbsSkinRichEdit.h"
#include "text/SplitArticle.h"

#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <random>

using namespace rasp;

namespace {

// The rebuild as it was: every run appended with the pane's own operations.
class TRunByRunPane : public TbsSkinRichEdit {
public:
    void ReplaceWithRuns(const std::u16string& text, const std::vector<THighlightRun>& runs) override
    {
        IRichTextPane::ReplaceWithRuns(text, runs);
    }
};

std::u16string RandomArticle(std::mt19937& random)
{
    static const std::u16string pieces[] = {u"tomato", u"Garden", u"a", u"\u00e9t\u00e9", u" ", u" ", u", ",
                                            u". ",     u"\r\n",   u"\r\n\r\n", u"!",  u"\t", u"end:"};
    std::u16string text;
    const int count = static_cast<int>(random() % 60);
    for (int i = 0; i < count; ++i)
        text += pieces[random() % std::size(pieces)];
    return text;
}

void ColourWords(TListWords& words, std::mt19937& random)
{
    static const TColor colours[] = {clWhite, 0xFFFF00, 0xC0DCC0, 0x00FFFF, 0x0000FF, 0x008080, 0xC0C0C0};
    TColor colour = clWhite;
    for (TWord& w : words) {
        if (random() % 3 == 0)
            colour = colours[random() % std::size(colours)];
        w.Color = colour;
    }
}

struct TFormat {
    TColor Text, Back;
    bool Bold;
    bool operator==(const TFormat&) const = default;
};

TFormat Insertion(const QtRichTextPane& pane)
{
    const QTextCharFormat f = pane.textCursor().charFormat();
    return {f.hasProperty(QTextFormat::ForegroundBrush) ? QtRichTextPane::FromQColor(f.foreground().color()) : clBlack,
            f.hasProperty(QTextFormat::BackgroundBrush) ? QtRichTextPane::FromQColor(f.background().color()) : clWhite,
            f.fontWeight() >= QFont::Bold};
}

}  // namespace

TEST(RenderRuns, OnePassRebuildEqualsRunByRun)
{
    std::mt19937 random(2026);
    TbsSkinRichEdit fast;
    TRunByRunPane slow;
    int fastChanges = 0, slowChanges = 0;
    fast.SetOnChange([&] { ++fastChanges; });
    slow.SetOnChange([&] { ++slowChanges; });
    for (int round = 0; round < 300; ++round) {
        // Earlier contents: sometimes the same text, sometimes another, sometimes highlighted.
        const std::u16string text = RandomArticle(random);
        const std::u16string before = random() % 3 == 0 ? text : RandomArticle(random);
        fast.SetText(before);
        slow.SetText(before);
        if (random() % 2 == 0) {
            TListWords words;
            TListSentences sentences;
            TListParagraphs paragraphs;
            SplitArticle(before, words, sentences, paragraphs);
            ColourWords(words, random);
            RenderHighlights(fast, words, before);
            RenderHighlights(slow, words, before);
        }
        const int caret = static_cast<int>(random() % (before.size() + 1));
        fast.Select(caret, 0);
        slow.Select(caret, 0);
        fastChanges = slowChanges = 0;

        TListWords words;
        TListSentences sentences;
        TListParagraphs paragraphs;
        SplitArticle(text, words, sentences, paragraphs);
        ColourWords(words, random);
        RenderHighlights(fast, words, text);
        RenderHighlights(slow, words, text);

        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_EQ(fast.GetText(), text);
        ASSERT_EQ(slow.GetText(), text);
        for (int i = 0; i < static_cast<int>(text.size()); ++i) {
            const auto f = fast.FormatAt(i);
            const auto s = slow.FormatAt(i);
            ASSERT_EQ(f.TextColor, s.TextColor) << i;
            ASSERT_EQ(f.Bold, s.Bold) << i;
            ASSERT_EQ(f.BackColor, s.BackColor) << i;
        }
        ASSERT_EQ(fast.document()->toHtml(), slow.document()->toHtml());
        ASSERT_EQ(fast.document()->blockCount(), slow.document()->blockCount());
        for (QTextBlock a = fast.document()->begin(), b = slow.document()->begin(); a.isValid(); a = a.next(), b = b.next())
            ASSERT_EQ(a.charFormat(), b.charFormat());
        ASSERT_EQ(fast.SelStart(), slow.SelStart());
        ASSERT_EQ(fast.SelLength(), slow.SelLength());
        ASSERT_EQ(Insertion(fast), Insertion(slow));
        ASSERT_EQ(fastChanges, slowChanges);
    }
}
