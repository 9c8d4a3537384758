// Order-free comparison of two long articles, from the two texts to the
// coloured words and figures (segmentation, left-out words, word ids,
// tiling, colours), for the three pair kinds and growing sizes, and for
// repetitive texts up to a million words a side.

#include <benchmark/benchmark.h>

#include <random>

#include <sys/resource.h>

#include "BenchArticles.h"
#include "compare/ArticleMatch.h"

namespace rasp::bench {
namespace {

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_AnyOrder(benchmark::State& state, TPairKind kind) {
    const int words = static_cast<int>(state.range(0));
    const TArticlePair pair = MakePair(kind, words);
    TMatchOptions options;
    options.AnyOrder = true;
    options.MinLength = static_cast<int>(state.range(1));
    TMatchFigures figures;
    for (auto _ : state) {
        TMatchArticle article1 = PrepareArticle(pair.First, options);
        TMatchArticle article2 = PrepareArticle(pair.Second, options);
        figures = MatchArticles(article1, article2, options).Figures;
        benchmark::DoNotOptimize(figures.Matched2);
    }
    state.counters["words1"] = figures.Words1;
    state.counters["words2"] = figures.Words2;
    state.counters["dup%"] = figures.Percentage;
    state.counters["runs"] = figures.Runs;
    state.counters["peakMB"] = PeakMegabytes();
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (const int minLength : {1, 5})
        for (const int words : {12500, 25000, 50000, 100000}) b->Args({words, minLength});
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(BM_AnyOrder, identical, TPairKind::Identical)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_AnyOrder, half_shared_shuffled, TPairKind::HalfSharedShuffled)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_AnyOrder, unrelated, TPairKind::Unrelated)->Apply(Sizes);

// The hardest inputs for the tiling: one word over and over (every window
// equals every other), a period of two words against itself, and two words
// at random.
enum class TRepeat { OneWord, PeriodTwo, TwoWordsAtRandom };

std::u16string Repeated(TRepeat kind, int words, unsigned seed) {
    std::mt19937 random(seed);
    std::u16string text;
    text.reserve(static_cast<std::size_t>(words) * 2);
    for (int k = 0; k < words; ++k) {
        const bool b = kind == TRepeat::PeriodTwo ? k % 2 == 1 : kind == TRepeat::TwoWordsAtRandom && random() % 2;
        text += b ? u"b " : u"a ";
    }
    return text;
}

void BM_AnyOrderRepeated(benchmark::State& state, TRepeat kind) {
    const std::u16string text1 = Repeated(kind, static_cast<int>(state.range(0)), 3);
    const std::u16string text2 = Repeated(kind, static_cast<int>(state.range(0)), 4);
    TMatchOptions options;
    options.AnyOrder = true;
    options.MinLength = static_cast<int>(state.range(1));
    TMatchFigures figures;
    for (auto _ : state) {
        TMatchArticle article1 = PrepareArticle(text1, options);
        TMatchArticle article2 = PrepareArticle(text2, options);
        figures = MatchArticles(article1, article2, options).Figures;
    }
    state.counters["runs"] = figures.Runs;
    state.counters["dup%"] = figures.Percentage;
    state.counters["peakMB"] = PeakMegabytes();
}
BENCHMARK_CAPTURE(BM_AnyOrderRepeated, one_word, TRepeat::OneWord)->Args({50000, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AnyOrderRepeated, two_words, TRepeat::TwoWordsAtRandom)->Args({50000, 1})->Unit(benchmark::kMillisecond);

// Two articles of a million words each, of every kind the comparison
// benchmarks use, as `rasp compare --any-order --min 3` gets them
// (--benchmark_filter=Large). The peak memory is the process's: run one
// case at a time for its own figure.
void LargeSizes(benchmark::internal::Benchmark* b) {
    b->Args({1000000, 3})->Iterations(1)->Unit(benchmark::kMillisecond);
}
BENCHMARK_CAPTURE(BM_AnyOrderRepeated, Large_one_word, TRepeat::OneWord)->Apply(LargeSizes);
BENCHMARK_CAPTURE(BM_AnyOrderRepeated, Large_period_two, TRepeat::PeriodTwo)->Apply(LargeSizes);
BENCHMARK_CAPTURE(BM_AnyOrderRepeated, Large_two_words_at_random, TRepeat::TwoWordsAtRandom)->Apply(LargeSizes);
BENCHMARK_CAPTURE(BM_AnyOrder, Large_identical, TPairKind::Identical)->Apply(LargeSizes);
BENCHMARK_CAPTURE(BM_AnyOrder, Large_half_shared_shuffled, TPairKind::HalfSharedShuffled)->Apply(LargeSizes);
BENCHMARK_CAPTURE(BM_AnyOrder, Large_unrelated, TPairKind::Unrelated)->Apply(LargeSizes);
BENCHMARK_CAPTURE(BM_AnyOrder, Large_tiny_vocabulary, TPairKind::TinyVocabulary)->Apply(LargeSizes);
BENCHMARK_CAPTURE(BM_AnyOrder, Large_periods_three_and_two, TPairKind::Periodic)->Apply(LargeSizes);
BENCHMARK_CAPTURE(BM_AnyOrder, Large_run_of_one_word, TPairKind::RunOfOneWord)->Apply(LargeSizes);

}  // namespace
}  // namespace rasp::bench

BENCHMARK_MAIN();
