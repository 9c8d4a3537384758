// Random use of the real window: whatever the user does, each article's
// stored text is the pane's text, the counters are its counts, and Compare
// and the keyword density never change a text.

#include "tests/app/WindowFixture.h"

#include "text/SplitArticle.h"

#include <QClipboard>
#include <QTest>
#include <random>

using namespace rasp;

TEST_F(WindowTest, RandomUseKeepsTextsAndCountersInStep)
{
    std::mt19937 rng(4242);
    const char* const snippets[] = {"the quick fox. ", "Brown dog!\n", "a\xc2\xa0" "b ", "don\xe2\x80\x99t ",
                                    "x \xe2\x80\x93 y", "\n\n", "one, two; three? "};
    for (int step = 0; step < 300; ++step) {
        TbsSkinRichEdit* pane = rng() % 2 ? window->rchArticle1 : window->rchArticle2;
        switch (rng() % 9) {
        case 0:
        case 1:
            pane->setFocus();
            pane->Select(static_cast<int>(rng() % (pane->GetText().size() + 1)), 0);
            QTest::keyClicks(pane, "ab c.");
            break;
        case 2:
            QApplication::clipboard()->setText(QString::fromUtf8(snippets[rng() % std::size(snippets)]));
            pane->setFocus();
            QTest::keyClick(pane, Qt::Key_V, Qt::ControlModifier);
            break;
        case 3:
            pane->setFocus();
            QTest::keyClick(pane, Qt::Key_Backspace);
            break;
        case 4:
            window->minNumWords->SetValue(static_cast<double>(rng() % 4));
            window->cbxType->SetItemIndex(static_cast<int>(rng() % 3));
            window->btnCompareEx->click();
            break;
        case 5:
            (pane == window->rchArticle1 ? window->edtKw1 : window->edtKw2)->setText(rng() % 2 ? "the" : "b");
            (pane == window->rchArticle1 ? window->btnCalculateKwDensity1 : window->btnCalculateKwDensity2)->click();
            break;
        case 6:
            (pane == window->rchArticle1 ? window->btnClearH1 : window->btnClearH2)->click();
            break;
        case 7:
            if (rng() % 6 == 0)
                (pane == window->rchArticle1 ? window->btnClear1 : window->btnClear2)->click();
            break;
        case 8:
            pane->setFocus();
            QTest::keyClick(pane, Qt::Key_Z, Qt::ControlModifier);
            break;
        }
        ASSERT_EQ(window->FText1, window->rchArticle1->GetText()) << "step " << step;
        ASSERT_EQ(window->FText2, window->rchArticle2->GetText()) << "step " << step;
        TListWords words;
        TListSentences sentences;
        TListParagraphs paragraphs;
        SplitArticle(window->FText1, words, sentences, paragraphs);
        ASSERT_EQ(window->edtWords1->Value(), words.Count()) << "step " << step;
        ASSERT_EQ(window->edtSenten1->Value(), sentences.Count());
        ASSERT_EQ(window->edtParag1->Value(), paragraphs.Count());
        for (char16_t c : window->FText2)
            ASSERT_TRUE(c != 0x00A0 && c != 0x2019 && c != 0x2013) << "step " << step;
        ASSERT_GE(window->minNumWords->Value(), 1);
    }
    EXPECT_TRUE(ShownMessages().empty());
}
