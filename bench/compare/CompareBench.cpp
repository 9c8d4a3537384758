// Speed of the comparison core: segmentation, the comparison walk on two
// 50,000-word articles (against the literal search where it finishes within
// a minute), the inputs that are quadratic for a word-by-word search at
// 50,000 and 1,000,000 words, and rebuilding a pane with 50,000 highlighted
// words.
//
// Set RASP_BENCH_NO_REFERENCE=1 to skip the (slow) literal search runs.

#include <benchmark/benchmark.h>

#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "BenchArticles.h"
#include "compare/ArticleComparer.h"
#include "compare/ArticleMatch.h"
#include "compare/HighlightRender.h"
#include "platform/pane/MemoryRichTextPane.h"
#include "tests/compare/LiteralComparer.h"
#include "text/SplitArticle.h"

namespace rasp::bench {
namespace {

constexpr int kWords = 50000;
constexpr int kWindow = 5;  // words per window in the comparison cases

// Processor time of this process: the machine is shared, and wall-clock
// figures would mostly measure the neighbours.
double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::u16string OneMegabyteArticle() {
    TArticleMaker maker(7);
    std::u16string text;
    int words = 0;
    while (text.size() < (1u << 20)) {
        if (!text.empty()) text += u"\r\n\r\n";
        text += maker.Paragraph(words);
    }
    text.resize(1u << 20);
    return text;
}

void BM_SplitArticle1MB(benchmark::State& state) {
    const std::u16string text = OneMegabyteArticle();
    TListWords words;
    TListSentences sentences;
    TListParagraphs paragraphs;
    for (auto _ : state) {
        SplitArticle(text, words, sentences, paragraphs);
        benchmark::DoNotOptimize(words.Count());
    }
    // One character of the article counts as one byte, as in an 8-bit text.
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
    state.counters["words"] = words.Count();
}
BENCHMARK(BM_SplitArticle1MB)->Unit(benchmark::kMillisecond);

// Segmentation of both articles, the lookups and the window walk: everything
// of a comparison but the pane rebuild.
int EngineCompare(TArticleComparer& c, const TArticlePair& pair, int window, int unit = ukWords) {
    c.FText1 = pair.First;
    c.FText2 = pair.Second;
    c.CompareStored(window, unit, 1.0);
    return c.HighlightedWords2();
}

void BM_Compare(benchmark::State& state, TPairKind kind) {
    const TArticlePair pair = MakePair(kind, kWords);
    const int window = static_cast<int>(state.range(0));
    TArticleComparer comparer;
    int highlighted = 0;
    for (auto _ : state) highlighted = EngineCompare(comparer, pair, window);
    state.counters["words1"] = comparer.FWords1.Count();
    state.counters["words2"] = comparer.FWords2.Count();
    state.counters["dup%"] = 100.0 * highlighted / std::max(1, comparer.FWords2.Count());
}
BENCHMARK_CAPTURE(BM_Compare, identical, TPairKind::Identical)->Arg(1)->Arg(kWindow)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Compare, half_shared_shuffled, TPairKind::HalfSharedShuffled)->Arg(1)->Arg(kWindow)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Compare, unrelated, TPairKind::Unrelated)->Arg(1)->Arg(kWindow)->Unit(benchmark::kMillisecond);

// The whole command on in-memory panes, rebuild included.
void BM_CompareCommand(benchmark::State& state, TPairKind kind) {
    const TArticlePair pair = MakePair(kind, kWords);
    TArticleComparer comparer;
    TMemoryRichTextPane pane1;
    TMemoryRichTextPane pane2;
    pane1.SetText(pair.First);
    pane2.SetText(pair.Second);
    comparer.FText1 = pair.First;
    comparer.FText2 = pair.Second;
    for (auto _ : state) {
        const TCompareOutcome outcome = comparer.CompareEx(pane1, pane2, kWindow, ukWords, kWords);
        benchmark::DoNotOptimize(outcome.Percentage);
    }
}
BENCHMARK_CAPTURE(BM_CompareCommand, half_shared_shuffled, TPairKind::HalfSharedShuffled)->Unit(benchmark::kMillisecond);

// The cases that are quadratic for a word-by-word search, and ordinary
// articles, at 50,000 words (quick runs) and at 1,000,000 and 2,000,000
// words a side (--benchmark_filter=Large).
void BM_Hard(benchmark::State& state, TPairKind kind, int window, int unit) {
    const TArticlePair pair = MakePair(kind, static_cast<int>(state.range(0)));
    TArticleComparer comparer;
    int highlighted = 0;
    for (auto _ : state) highlighted = EngineCompare(comparer, pair, window, unit);
    state.counters["words1"] = comparer.FWords1.Count();
    state.counters["words2"] = comparer.FWords2.Count();
    state.counters["dup%"] = 100.0 * highlighted / std::max(1, comparer.FWords2.Count());
}
BENCHMARK_CAPTURE(BM_Hard, ordinary_min5, TPairKind::Unrelated, 5, ukWords)->Arg(kWords)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Hard, tiny_vocabulary_min5, TPairKind::TinyVocabulary, 5, ukWords)->Arg(kWords)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Hard, tiny_vocabulary_sentences_min5, TPairKind::TinyVocabulary, 5, ukSentences)->Arg(kWords)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Hard, periodic_min3, TPairKind::Periodic, 3, ukWords)->Arg(kWords)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Hard, run_of_one_word_min20, TPairKind::RunOfOneWord, 20, ukWords)->Arg(kWords)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Hard, spoilt_by_other_colours_min2, TPairKind::SpoiltByOtherColours, 2, ukWords)->Arg(kWords)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Hard, Large_spoilt_by_other_colours_min2, TPairKind::SpoiltByOtherColours, 2, ukWords)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Hard, Large_ordinary_min5, TPairKind::Unrelated, 5, ukWords)->Arg(1000000)->Arg(2000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Hard, Large_tiny_vocabulary_min5, TPairKind::TinyVocabulary, 5, ukWords)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Hard, Large_tiny_vocabulary_sentences_min5, TPairKind::TinyVocabulary, 5, ukSentences)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Hard, Large_periodic_min3, TPairKind::Periodic, 3, ukWords)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Hard, Large_run_of_one_word_min20, TPairKind::RunOfOneWord, 20, ukWords)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

// Identical articles with a window longer than either: every window is one
// of the clipped tails, each a length of its own. Through the window's walk
// and through the command-line companion's (which also lists the runs).
void BM_WholeArticleWindow(benchmark::State& state, bool companion) {
    const TArticlePair pair = MakePair(TPairKind::Identical, static_cast<int>(state.range(0)));
    int highlighted = 0;
    for (auto _ : state) {
        if (!companion) {
            TArticleComparer comparer;
            highlighted = EngineCompare(comparer, pair, 2147483647, ukWords);
            continue;
        }
        TMatchOptions options;
        options.MinLength = 2147483647;
        TMatchArticle article1 = PrepareArticle(pair.First, options);
        TMatchArticle article2 = PrepareArticle(pair.Second, options);
        highlighted = MatchArticles(article1, article2, options).Figures.Matched2;
    }
    state.counters["highlighted"] = highlighted;
}
BENCHMARK_CAPTURE(BM_WholeArticleWindow, window, false)->Arg(kWords)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholeArticleWindow, companion, true)->Arg(kWords)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholeArticleWindow, Large_window, false)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholeArticleWindow, Large_companion, true)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Render50kWords(benchmark::State& state) {
    const TArticlePair pair = MakePair(TPairKind::Unrelated, kWords);
    TListWords words;
    TListSentences sentences;
    TListParagraphs paragraphs;
    SplitArticle(pair.First, words, sentences, paragraphs);
    // Highlighted stretches of 3 to 40 words in changing colours, with plain
    // words between them, so both run kinds and their borders occur.
    std::mt19937 random(5);
    int colour = 1;
    for (int i = 0; i < words.Count();) {
        const int stretch = 3 + static_cast<int>(random() % 38);
        for (int k = 0; k < stretch && i < words.Count(); ++k, ++i) words[i].Color = HighlightColor(colour);
        colour = colour % 6 + 1;
        if (random() % 3 == 0 && i < words.Count()) ++i;  // a plain word
    }
    TMemoryRichTextPane pane;
    for (auto _ : state) {
        RenderHighlights(pane, words, pair.First);
        benchmark::DoNotOptimize(pane.Length());
    }
    state.counters["words"] = words.Count();
}
BENCHMARK(BM_Render50kWords)->Unit(benchmark::kMillisecond);

// Runs the literal search on the same walk; nullopt when it does not finish
// within the time limit.
std::optional<double> LiteralSeconds(const TArticlePair& pair, int window, double limitSeconds) {
    reference::TLiteralComparer literal;
    literal.Text1 = pair.First;
    literal.Text2 = pair.Second;
    literal.MinLength = window;
    TListSentences sentences2;
    TListParagraphs paragraphs2;
    const double begin = CpuSeconds();
    SplitArticle(literal.Text1, literal.Words1, literal.Sentences1, literal.Paragraphs1);
    SplitArticle(literal.Text2, literal.Words2, sentences2, paragraphs2);
    int cursor = -1, start = 0, end = 0, resume = -1, m0 = 0, m1 = 0;
    while (literal.NextWindow(cursor, start, end)) {
        literal.FindMatch(start, end, resume, m0, m1);
        if (CpuSeconds() - begin > limitSeconds) return std::nullopt;
    }
    return CpuSeconds() - begin;
}

double EngineSeconds(const TArticlePair& pair, int window) {
    TArticleComparer comparer;
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        const double begin = CpuSeconds();
        EngineCompare(comparer, pair, window);
        best = std::min(best, CpuSeconds() - begin);
    }
    return best;
}

void ReportReferenceRatios() {
    std::printf("\nEngine against the literal search (%d-word windows, processor time, limit 60 s):\n",
                kWindow);
    const struct {
        const char* name;
        TPairKind kind;
    } cases[] = {{"identical", TPairKind::Identical},
                 {"half shared, shuffled paragraphs", TPairKind::HalfSharedShuffled},
                 {"unrelated", TPairKind::Unrelated}};
    for (const int words : {kWords, 5000}) {
        for (const auto& c : cases) {
            const TArticlePair pair = MakePair(c.kind, words);
            const double engine = EngineSeconds(pair, kWindow);
            const std::optional<double> literal = LiteralSeconds(pair, kWindow, 60.0);
            if (literal)
                std::printf("  %6d words, %-34s engine %9.3f ms  literal %9.3f s  ratio %8.0fx\n", words,
                            c.name, engine * 1e3, *literal, *literal / engine);
            else
                std::printf("  %6d words, %-34s engine %9.3f ms  literal > 60 s    ratio > %6.0fx\n",
                            words, c.name, engine * 1e3, 60.0 / engine);
            std::fflush(stdout);
        }
    }
}

}  // namespace
}  // namespace rasp::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const char* skip = std::getenv("RASP_BENCH_NO_REFERENCE");
    if (skip == nullptr || *skip == '\0' || *skip == '0') rasp::bench::ReportReferenceRatios();
    return 0;
}
