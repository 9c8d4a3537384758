// "Calculate Keyword Density" of a common word in a 100,000-word article on
// the real window: the search, the count and the yellow highlighting, and the
// repaint of the pane that follows.

#include "WindowFixture.h"
#include "app/MainWindow.h"
#include "app/RaspApplication.h"

#include <QTest>
#include <benchmark/benchmark.h>

namespace {

using rasp::bench::BenchWindow;
using rasp::bench::GardenArticle;

void BM_DensityOfACommonWordIn100000Words(benchmark::State& state)
{
    rasp::TfrmMain& w = BenchWindow();
    w.rchArticle1->SetText(GardenArticle(100000, 7));
    QApplication::processEvents();
    w.edtKw1->setText(QStringLiteral("the"));
    for (auto _ : state) {
        w.btnCalculateKwDensity1->click();
        QApplication::processEvents();  // the repaint of the pane
    }
    state.counters["words"] = w.edtWords1->Value();
    state.counters["count"] = w.edtDensTotal1->Value();
}
BENCHMARK(BM_DensityOfACommonWordIn100000Words)->Unit(benchmark::kMillisecond)->MinTime(2.0);

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
