// Order-free comparison of two long articles, from the two texts to the
// coloured words and figures (segmentation, left-out words, word ids,
// tiling, colours), for the three pair kinds and growing sizes.

#include <benchmark/benchmark.h>

#include <random>

#include "BenchArticles.h"
#include "compare/ArticleMatch.h"

namespace rasp::bench {
namespace {

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
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (const int minLength : {1, 5})
        for (const int words : {12500, 25000, 50000, 100000}) b->Args({words, minLength});
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(BM_AnyOrder, identical, TPairKind::Identical)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_AnyOrder, half_shared_shuffled, TPairKind::HalfSharedShuffled)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_AnyOrder, unrelated, TPairKind::Unrelated)->Apply(Sizes);

// The hardest input for the tiling: one word over and over (every window
// equals every other), and two words at random.
void BM_AnyOrderDegenerate(benchmark::State& state, bool twoWords) {
    std::mt19937 random(3);
    std::u16string text1, text2;
    for (int k = 0; k < 50000; ++k) {
        text1 += twoWords && random() % 2 ? u"b " : u"a ";
        text2 += twoWords && random() % 2 ? u"b " : u"a ";
    }
    TMatchOptions options;
    options.AnyOrder = true;
    TMatchFigures figures;
    for (auto _ : state) {
        TMatchArticle article1 = PrepareArticle(text1, options);
        TMatchArticle article2 = PrepareArticle(text2, options);
        figures = MatchArticles(article1, article2, options).Figures;
    }
    state.counters["runs"] = figures.Runs;
}
BENCHMARK_CAPTURE(BM_AnyOrderDegenerate, one_word, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AnyOrderDegenerate, two_words, true)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rasp::bench

BENCHMARK_MAIN();
