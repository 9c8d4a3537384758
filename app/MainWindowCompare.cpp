// The Compare command and the keyword density, on the window's panes.

#include "app/MainWindow.h"

#include "compare/HighlightRender.h"
#include "compare/KeywordDensity.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace rasp {

void TfrmMain::btnCompareExClick()
{
    minNumWords->ShowValue();
    TCompareOutcome outcome;
    try {
        outcome = FComparer.CompareEx(*rchArticle1, *rchArticle2, minNumWords->Value(), cbxType->ItemIndex(),
                                      edtWords2->Value());
    } catch (...) {
        // A rebuild that broke off may have left a pane with part of its
        // article; the stored texts are whole, so the panes get them back
        // before the error is reported.
        RestorePane(*rchArticle1, FText1);
        RestorePane(*rchArticle2, FText2);
        throw;
    }
    if (outcome.Ran)
        edtDuplicate->SetValue(outcome.Percentage);
}

void TfrmMain::RestorePane(TbsSkinRichEdit& pane, const std::u16string& text) noexcept
{
    try {
        if (pane.GetText() != text) {
            pane.SetText(text);
            ClearFormatting(pane);
        }
    } catch (...) {
        // Reporting the original failure matters more.
    }
}

void TfrmMain::CalculateKwDensity(const TArticle& article)
{
    // The pane repaints while a long article is searched, but at most every
    // 50 ms, and without taking user input: a click cannot start another
    // command on the pane halfway through this one.
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    auto repaint = [&sinceRepaint] {
        if (sinceRepaint.elapsed() < 50)
            return;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sinceRepaint.restart();
    };
    const TDensityResult result = rasp::CalculateKwDensity(*article.Pane, article.Keyword->Text().toStdU16String(),
                                                           article.WordCount->Value(), repaint);
    article.DensityTotal->SetValue(result.Count);
    article.DensityPercent->SetValueType(vtFloat);
    article.DensityPercent->SetValue(result.Percentage);
}

void TfrmMain::btnCalculateKwDensity1Click() { CalculateKwDensity(Article1()); }
void TfrmMain::btnCalculateKwDensity2Click() { CalculateKwDensity(Article2()); }

}  // namespace rasp
