// The live article panes: every change normalises, stores and re-segments the
// article and refreshes its counters; "Delete All", "Clear Highlighting", the
// plain-text paste and the guard of the window length.

#include "app/MainWindow.h"

#include "compare/HighlightRender.h"
#include "text/ArticleNormalise.h"
#include "text/SplitArticle.h"

namespace rasp {

TfrmMain::TArticle TfrmMain::Article1()
{
    return {rchArticle1, FWords1, FSentences1, FParagraphs1, FText1, edtWords1, edtSenten1,
            edtParag1, edtKw1, edtDensPerc1, edtDensTotal1};
}

TfrmMain::TArticle TfrmMain::Article2()
{
    return {rchArticle2, FWords2, FSentences2, FParagraphs2, FText2, edtWords2, edtSenten2,
            edtParag2, edtKw2, edtDensPerc2, edtDensTotal2};
}

void TfrmMain::ArticleChange(const TArticle& article)
{
    // A comparison rebuilding the panes leaves texts, lists and counters alone.
    if (Comparing)
        return;
    std::u16string text = article.Pane->GetText();
    NormaliseArticleText(text);
    article.Text = std::move(text);
    // Rewrites the pane only when a character was replaced.
    article.Pane->SetText(article.Text);
    SplitArticle(article.Text, article.Words, article.Sentences, article.Paragraphs);
    article.WordCount->SetValue(article.Words.Count());
    article.SentenceCount->SetValue(article.Sentences.Count());
    article.ParagraphCount->SetValue(article.Paragraphs.Count());
}

void TfrmMain::rchArticle1Change() { ArticleChange(Article1()); }
void TfrmMain::rchArticle2Change() { ArticleChange(Article2()); }

void TfrmMain::btnClear1Click() { rchArticle1->Clear(); }
void TfrmMain::btnClear2Click() { rchArticle2->Clear(); }

void TfrmMain::ClearHighlighting(const TArticle& article)
{
    // Stored text and counters stay; the words lose their colours.
    SplitArticle(article.Pane->GetText(), article.Words, article.Sentences, article.Paragraphs);
    ClearFormatting(*article.Pane);
}

void TfrmMain::btnClearH1Click() { ClearHighlighting(Article1()); }
void TfrmMain::btnClearH2Click() { ClearHighlighting(Article2()); }

void TfrmMain::mnuPasteClick() { rchArticle1->PastePlainText(); }
void TfrmMain::MenuItem1Click() { rchArticle2->PastePlainText(); }

void TfrmMain::minNumWordsChange()
{
    if (minNumWords->Value() == 0)
        minNumWords->SetValue(1);
}

}  // namespace rasp
