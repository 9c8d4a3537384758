// The Compare command and the keyword density, on the window's panes.

#include "app/MainWindow.h"

#include "compare/KeywordDensity.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace rasp {

void TfrmMain::btnCompareExClick()
{
    const TCompareOutcome outcome = FComparer.CompareEx(*rchArticle1, *rchArticle2, minNumWords->Value(),
                                                        cbxType->ItemIndex(), edtWords2->Value());
    if (outcome.Ran)
        edtDuplicate->SetValue(outcome.Percentage);
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
