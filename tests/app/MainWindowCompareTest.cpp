#include "tests/app/WindowFixture.h"

#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <random>

using namespace rasp;

namespace {

constexpr TColor kCyan = 0xFFFF00;
constexpr TColor kLightGreen = 0xC0DCC0;

// Background and bold of every character of a pane, as a string per
// character: '.' plain, 'c' cyan bold, 'g' light green bold, 'y' yellow
// plain, '?' anything else.
std::string Looks(const QtRichTextPane& pane)
{
    std::string out;
    const std::u16string text = pane.GetText();
    for (int i = 0; i < static_cast<int>(text.size()); ++i) {
        const auto f = pane.FormatAt(i);
        if (f.TextColor != clBlack)
            out += '?';
        else if (f.BackColor == clWhite && !f.Bold)
            out += '.';
        else if (f.BackColor == kCyan && f.Bold)
            out += 'c';
        else if (f.BackColor == kLightGreen && f.Bold)
            out += 'g';
        else if (f.BackColor == clYellow && !f.Bold)
            out += 'y';
        else
            out += '?';
    }
    return out;
}

}  // namespace

TEST_F(WindowTest, CompareHighlightsSharedRunsAndShowsThePercentage)
{
    window->rchArticle1->SetText(u"a b c");
    window->rchArticle2->SetText(u"x a b c");
    window->minNumWords->SetValue(3);
    QTest::mouseClick(window->btnCompareEx, Qt::LeftButton);
    EXPECT_EQ(Looks(*window->rchArticle1), "ccccc");
    EXPECT_EQ(Looks(*window->rchArticle2), "..ccccc");
    EXPECT_EQ(window->edtDuplicate->text(), "75");
    EXPECT_EQ(window->edtDuplicate->Value(), 75);
    // Rebuilding the panes left texts and counters alone.
    EXPECT_EQ(window->rchArticle2->GetText(), u"x a b c");
    EXPECT_EQ(window->FText2, u"x a b c");
    EXPECT_EQ(window->edtWords2->Value(), 4);
    EXPECT_FALSE(window->Comparing);
}

TEST_F(WindowTest, SecondRunTakesTheNextColourAndTheShareIsRoundedHalfToEven)
{
    window->rchArticle1->SetText(u"b a");
    window->rchArticle2->SetText(u"a b");
    QTest::mouseClick(window->btnCompareEx, Qt::LeftButton);
    EXPECT_EQ(Looks(*window->rchArticle1), "c.g");
    EXPECT_EQ(Looks(*window->rchArticle2), "g.c");
    EXPECT_EQ(window->edtDuplicate->text(), "100");

    // 2 of 3 words: 66.67 shows 67; multi-line text keeps its line breaks.
    window->rchArticle1->SetText(u"one two.\r\nthree");
    window->rchArticle2->SetText(u"one two\r\nfour");
    window->minNumWords->SetValue(2);
    QTest::mouseClick(window->btnCompareEx, Qt::LeftButton);
    EXPECT_EQ(window->edtDuplicate->text(), "67");
    EXPECT_EQ(window->rchArticle2->GetText(), u"one two\r\nfour");
    EXPECT_EQ(Looks(*window->rchArticle2).substr(0, 7), "ccccccc");
}

TEST_F(WindowTest, CompareWithABlankArticleChangesNothing)
{
    window->rchArticle1->SetText(u"a b c");
    window->rchArticle2->SetText(u"a b c");
    QTest::mouseClick(window->btnCompareEx, Qt::LeftButton);
    EXPECT_EQ(window->edtDuplicate->text(), "100");
    window->rchArticle2->SetText(u" \r\n ");
    QTest::mouseClick(window->btnCompareEx, Qt::LeftButton);
    EXPECT_EQ(window->edtDuplicate->text(), "100");
    EXPECT_EQ(Looks(*window->rchArticle1), "ccccc");
}

TEST_F(WindowTest, ClearHighlightingShowsThePanePlainAndKeepsTheFigures)
{
    window->rchArticle1->SetText(u"same words here");
    window->rchArticle2->SetText(u"same words here");
    QTest::mouseClick(window->btnCompareEx, Qt::LeftButton);
    ASSERT_EQ(window->edtDuplicate->text(), "100");
    QTest::mouseClick(window->btnClearH2, Qt::LeftButton);
    EXPECT_EQ(Looks(*window->rchArticle2), std::string(15, '.'));
    EXPECT_EQ(Looks(*window->rchArticle1), std::string(15, 'c'));
    EXPECT_EQ(window->edtDuplicate->text(), "100");
    EXPECT_EQ(window->edtWords2->Value(), 3);
    for (const TWord& w : window->FWords2)
        EXPECT_EQ(w.Color, clWhite);
    EXPECT_EQ(window->rchArticle2->SelStart(), 0);
    EXPECT_EQ(window->rchArticle2->SelLength(), 0);
}

TEST_F(WindowTest, KeywordDensityHighlightsInYellowAndCounts)
{
    window->rchArticle1->SetText(u"The theme of the");
    window->edtKw1->setText("  the ");
    QTest::mouseClick(window->btnCalculateKwDensity1, Qt::LeftButton);
    EXPECT_EQ(Looks(*window->rchArticle1), "yyy.yyy......yyy");
    EXPECT_EQ(window->edtDensTotal1->text(), "3");
    EXPECT_EQ(window->edtDensPerc1->text(), "75.00");
    // The other article is untouched.
    EXPECT_EQ(window->edtDensTotal2->text(), "0");

    window->edtKw1->setText("absent");
    QTest::mouseClick(window->btnCalculateKwDensity1, Qt::LeftButton);
    EXPECT_EQ(Looks(*window->rchArticle1), std::string(16, '.'));
    EXPECT_EQ(window->edtDensTotal1->text(), "0");
    EXPECT_EQ(window->edtDensPerc1->text(), "0.00");

    // An empty pane: nothing found, 0 %.
    window->edtKw2->setText("the");
    QTest::mouseClick(window->btnCalculateKwDensity2, Qt::LeftButton);
    EXPECT_EQ(window->edtDensTotal2->text(), "0");
    EXPECT_EQ(window->edtDensPerc2->text(), "0.00");
}

TEST_F(WindowTest, EditingAfterACompareKeepsCountingFromTheStoredText)
{
    window->rchArticle1->SetText(u"a b c d");
    window->rchArticle2->SetText(u"a b c d");
    QTest::mouseClick(window->btnCompareEx, Qt::LeftButton);
    window->rchArticle2->setFocus();
    window->rchArticle2->Select(7, 0);
    QTest::keyClicks(window->rchArticle2, " e");
    EXPECT_EQ(window->FText2, u"a b c d e");
    EXPECT_EQ(window->edtWords2->Value(), 5);
    for (const TWord& w : window->FWords2)
        EXPECT_EQ(w.Color, clWhite) << "an edit discards the colours of the spans";
}

// The density on a long article in the real pane: the same occurrences and
// yellow characters as a plain search finds, the last occurrence selected,
// and the view left where the reader had scrolled to.
TEST_F(WindowTest, KeywordDensityOnALongArticleMatchesAPlainSearchAndKeepsTheView)
{
    std::mt19937 rng(7);
    const char16_t* const words[] = {u"The", u"theme", u"other", u"garden", u"ThE", u"tthe", u"soil", u"a"};
    std::u16string text;
    for (int i = 1; i <= 6000; ++i) {
        text += words[rng() % std::size(words)];
        text += i % 90 == 0 ? u"\r\n" : u" ";
    }
    window->rchArticle1->SetText(text);
    QApplication::processEvents();
    QScrollBar* bar = window->rchArticle1->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 1000);
    bar->setValue(bar->maximum() / 2);
    const int scrolled = bar->value();
    const qreal height = window->rchArticle1->document()->size().height();

    for (const char* phrase : {"the", "THE t", "e o"}) {
        SCOPED_TRACE(phrase);
        window->edtKw1->setText(phrase);
        QTest::mouseClick(window->btnCalculateKwDensity1, Qt::LeftButton);
        QApplication::processEvents();

        const std::u16string key = QString::fromUtf8(phrase).toLower().toStdU16String();
        const std::u16string lower = QString::fromStdU16String(text).toLower().toStdU16String();
        std::string expected(text.size(), '.');
        int count = 0, last = -1;
        for (std::size_t p = lower.find(key); p != std::u16string::npos; p = lower.find(key, p + 1)) {
            ++count;
            last = static_cast<int>(p);
            expected.replace(p, key.size(), key.size(), 'y');
        }
        EXPECT_EQ(window->edtDensTotal1->Value(), count);
        // A line break reads the format of the line after it; only the
        // characters of the lines are compared.
        std::string looks = Looks(*window->rchArticle1);
        ASSERT_EQ(looks.size(), expected.size());
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] == u'\r' || text[i] == u'\n')
                looks[i] = expected[i] = '|';
        const auto differ = std::mismatch(looks.begin(), looks.end(), expected.begin()).first - looks.begin();
        EXPECT_EQ(differ, static_cast<long>(looks.size()))
            << "first difference at " << differ << ": shown " << looks.substr(std::size_t(differ), 40)
            << ", expected " << expected.substr(std::size_t(differ), 40);
        EXPECT_EQ(window->rchArticle1->SelStart(), last);
        EXPECT_EQ(window->rchArticle1->SelLength(), static_cast<int>(key.size()));
        EXPECT_EQ(bar->value(), scrolled);
    }
    // The rest of the article is laid out again in the background.
    for (int i = 0; i < 200 && window->rchArticle1->document()->size().height() != height; ++i)
        QTest::qWait(20);
    EXPECT_EQ(window->rchArticle1->document()->size().height(), height);
    EXPECT_EQ(window->rchArticle1->GetText(), text);
    EXPECT_EQ(window->edtWords1->Value(), 6000);
}
