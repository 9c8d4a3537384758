// Typing into a pane that holds a 50,000-word article, and Compare of two
// 20,000-word articles that share half their text, both on the real window.

#include "WindowFixture.h"
#include "app/MainWindow.h"
#include "app/RaspApplication.h"

#include <QScrollBar>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

using rasp::bench::BenchWindow;
using rasp::bench::GardenArticle;

// One keystroke in the middle of a 50,000-word article: the key event, the
// document edit and the change handling (read, normalise, store, segment,
// counters).
void BM_KeystrokeIn50000Words(benchmark::State& state)
{
    rasp::TfrmMain& w = BenchWindow();
    w.rchArticle1->SetText(GardenArticle(50000, 1));
    w.rchArticle1->setFocus();
    w.rchArticle1->Select(150000, 0);
    bool insert = true;
    for (auto _ : state) {
        // Type a letter, then take it back, so the article keeps its size.
        QTest::keyClick(w.rchArticle1, insert ? Qt::Key_X : Qt::Key_Backspace);
        insert = !insert;
    }
    state.counters["words"] = w.edtWords1->Value();
}

// The same keystroke at the end of the article, where every key makes the
// pane scroll: the skinned bar beside it must follow each one.
void BM_KeystrokeAtTheEndWithTheBarInStep(benchmark::State& state)
{
    rasp::TfrmMain& w = BenchWindow();
    w.rchArticle1->SetText(GardenArticle(50000, 3));
    (void)w.rchArticle1->document()->size();  // finish the layout first
    w.rchArticle1->setFocus();
    w.rchArticle1->moveCursor(QTextCursor::End);
    bool insert = true;
    int outOfStep = 0;
    for (auto _ : state) {
        QTest::keyClick(w.rchArticle1, insert ? Qt::Key_Return : Qt::Key_Backspace);
        insert = !insert;
        const QScrollBar* own = w.rchArticle1->verticalScrollBar();
        if (w.bsSkinScrollBar1->Position() != own->value() ||
            w.bsSkinScrollBar1->Max() - w.bsSkinScrollBar1->PageSize() + 1 != own->maximum())
            ++outOfStep;
    }
    if (outOfStep != 0)
        state.SkipWithError("the skinned scroll bar fell out of step with the pane");
    state.counters["bar_position"] = w.bsSkinScrollBar1->Position();
}
BENCHMARK(BM_KeystrokeAtTheEndWithTheBarInStep)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_KeystrokeIn50000Words)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The change handling alone, after the document already changed.
void BM_ChangeHandlingOf50000Words(benchmark::State& state)
{
    rasp::TfrmMain& w = BenchWindow();
    w.rchArticle1->SetText(GardenArticle(50000, 2));
    for (auto _ : state) {
        w.rchArticle1->Select(1000, 0);
        w.rchArticle1->ReplaceSelection(u"x");  // raises the change handling
        state.PauseTiming();
        w.rchArticle1->Select(1000, 1);
        w.rchArticle1->ReplaceSelection(u"");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ChangeHandlingOf50000Words)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Compare of two 20,000-word articles sharing half their text, end to end:
// segmentation, the window walk and the rebuild of both panes.
void BM_Compare20000Words(benchmark::State& state)
{
    rasp::TfrmMain& w = BenchWindow();
    const std::u16string shared = GardenArticle(10000, 3);
    w.rchArticle1->SetText(shared + GardenArticle(10000, 4));
    w.rchArticle2->SetText(GardenArticle(10000, 5) + shared);
    w.minNumWords->SetValue(state.range(0));
    for (auto _ : state) {
        w.btnCompareEx->click();
        QApplication::processEvents();  // the repaint of both panes
    }
    state.counters["duplicate%"] = w.edtDuplicate->Value();
}
BENCHMARK(BM_Compare20000Words)->Arg(5)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The same for two articles of 50,000 and 200,000 words each: the click until
// both panes show their runs.
void BM_CompareLarge(benchmark::State& state)
{
    rasp::TfrmMain& w = BenchWindow();
    const int half = static_cast<int>(state.range(0)) / 2;
    const std::u16string shared = GardenArticle(half, 6);
    w.rchArticle1->SetText(shared + GardenArticle(half, 7));
    w.rchArticle2->SetText(GardenArticle(half, 8) + shared);
    w.minNumWords->SetValue(5);
    for (auto _ : state) {
        w.btnCompareEx->click();
        QApplication::processEvents();
    }
    state.counters["words"] = w.edtWords2->Value();
    state.counters["duplicate%"] = w.edtDuplicate->Value();
}
BENCHMARK(BM_CompareLarge)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    rasp::TRaspApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
