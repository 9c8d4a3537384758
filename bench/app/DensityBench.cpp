// "Calculate Keyword Density" of a common word in a 100,000-word article on
// the real window: the search, the count and the yellow highlighting, and the
// repaint of the pane that follows.

#include "app/MainWindow.h"
#include "app/RaspApplication.h"

#include <QTest>
#include <benchmark/benchmark.h>
#include <random>

namespace {

// Plain sentences and paragraphs from a small vocabulary; "the" is one word
// in 27, and also occurs inside "theme" and "other".
std::u16string Article(int words, unsigned seed)
{
    static const char16_t* const vocabulary[] = {
        u"tomato", u"balcony", u"garden", u"water", u"light", u"the", u"a", u"small", u"green",
        u"pot", u"soil", u"summer", u"fruit", u"leaf", u"grow", u"keep", u"sunny", u"theme",
        u"harvest", u"stem", u"feed", u"every", u"week", u"plant", u"root", u"other", u"warm"};
    std::mt19937 rng(seed);
    std::u16string text;
    for (int i = 1; i <= words; ++i) {
        text += vocabulary[rng() % std::size(vocabulary)];
        if (i % 100 == 0)
            text += u".\r\n";
        else if (i % 12 == 0)
            text += u". ";
        else
            text += u' ';
    }
    return text;
}

rasp::TfrmMain& Window()
{
    static rasp::TfrmMain* window = [] {
        rasp::TMainWindowOptions options;
        options.CheckUpdates = false;
        auto* w = new rasp::TfrmMain(options);
        w->show();
        QApplication::processEvents();
        return w;
    }();
    return *window;
}

void BM_DensityOfACommonWordIn100000Words(benchmark::State& state)
{
    rasp::TfrmMain& w = Window();
    w.rchArticle1->SetText(Article(100000, 7));
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
