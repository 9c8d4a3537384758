// rasp scan of one 1,000-word article against collections of 1,000-word
// files on disk (every tenth file shares half of the article's paragraphs,
// shuffled), in both modes, the whole command: walk, reading, comparing on
// all cores, ranking. Wall-clock time, as the user waits for it.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "bench/compare/BenchArticles.h"
#include "text/ArticleDecode.h"
#include "tools/rasp/RaspCli.h"

namespace rasp::bench {
namespace {

namespace fs = std::filesystem;

class TCollection {
public:
    explicit TCollection(int files) {
        std::string pattern = (fs::temp_directory_path() / "rasp_scan_bench_XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        FRoot = pattern;
        TArticleMaker maker(11);
        const std::vector<std::u16string> article = maker.Paragraphs(1000);
        Write(FRoot + "/article.txt", Join(article));
        for (int k = 0; k < files; ++k) {
            TArticleMaker other(static_cast<unsigned>(100 + k));
            std::vector<std::u16string> paragraphs = other.Paragraphs(k % 10 == 0 ? 500 : 1000);
            if (k % 10 == 0) {
                for (std::size_t p = 0; p < article.size(); p += 2) paragraphs.push_back(article[p]);
                std::shuffle(paragraphs.begin(), paragraphs.end(), other.Random());
            }
            const std::string folder = FRoot + "/c/" + std::to_string(k % 20);
            fs::create_directories(folder);
            Write(folder + "/" + std::to_string(k) + ".txt", Join(paragraphs));
        }
    }
    ~TCollection() {
        std::error_code ignored;
        fs::remove_all(FRoot, ignored);
    }
    std::string Article() const { return FRoot + "/article.txt"; }
    std::string Folder() const { return FRoot + "/c"; }

private:
    static void Write(const std::string& path, const std::u16string& text) {
        std::ofstream(path, std::ios::binary) << EncodeUtf8(text);
    }
    std::string FRoot;
};

void BM_Scan(benchmark::State& state, bool anyOrder) {
    const TCollection collection(static_cast<int>(state.range(0)));
    std::vector<std::string> args = {"scan", collection.Article(), collection.Folder(), "--min", "3", "--top", "5"};
    if (anyOrder) args.push_back("--any-order");
    std::string table;
    for (auto _ : state) {
        std::ostringstream out, err;
        if (RunRasp(args, out, err) != 0) state.SkipWithError(err.str().c_str());
        table = out.str();
    }
    state.counters["files"] = static_cast<double>(state.range(0));
    state.SetLabel(table.substr(table.find('\n') + 1, table.find('\n', table.find('\n') + 1) - table.find('\n') - 1));
}

BENCHMARK_CAPTURE(BM_Scan, in_order, false)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Scan, any_order, true)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rasp::bench

BENCHMARK_MAIN();
