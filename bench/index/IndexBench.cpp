// The archive index on generated 1,000-word articles: `rasp index add` of a
// whole archive (documents per second, index size against text size) and
// `rasp check` of one 1,000-word article against it, the whole command as
// the user waits for it. Every thousandth document holds half of the
// article's paragraphs, shuffled.
//
// The SQLite index is built in the temporary folder; with
// RASP_BENCH_POSTGRES=postgresql://... the same runs against that server
// (its rasp tables are emptied first).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "bench/compare/BenchArticles.h"
#include "index/IndexStore.h"
#include "text/ArticleDecode.h"
#include "tools/rasp/RaspCli.h"

namespace rasp::bench {
namespace {

namespace fs = std::filesystem;

class TArchive {
public:
    explicit TArchive(int documents) {
        std::string pattern = (fs::temp_directory_path() / "rasp_index_bench_XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        FRoot = pattern;
        TArticleMaker maker(11);
        const std::vector<std::u16string> article = maker.Paragraphs(1000);
        Write(FRoot + "/article.txt", Join(article));
        for (int k = 0; k < documents; ++k) {
            TArticleMaker other(static_cast<unsigned>(100 + k));
            std::vector<std::u16string> paragraphs = other.Paragraphs(k % 1000 == 0 ? 500 : 1000);
            if (k % 1000 == 0) {
                for (std::size_t p = 0; p < article.size(); p += 2) paragraphs.push_back(article[p]);
                std::shuffle(paragraphs.begin(), paragraphs.end(), other.Random());
            }
            const std::string folder = FRoot + "/a/" + std::to_string(k / 1000);
            if (k % 1000 == 0) fs::create_directories(folder);
            FTextBytes += Write(folder + "/" + std::to_string(k) + ".txt", Join(paragraphs));
        }
    }
    ~TArchive() {
        std::error_code ignored;
        fs::remove_all(FRoot, ignored);
    }
    TArchive(const TArchive&) = delete;
    TArchive& operator=(const TArchive&) = delete;

    std::string Article() const { return FRoot + "/article.txt"; }
    std::string Folder() const { return FRoot + "/a"; }
    std::string SqlitePath() const { return FRoot + "/index.sqlite"; }
    double TextBytes() const { return static_cast<double>(FTextBytes); }

private:
    static std::size_t Write(const std::string& path, const std::u16string& text) {
        const std::string bytes = EncodeUtf8(text);
        std::ofstream(path, std::ios::binary) << bytes;
        return bytes.size();
    }
    std::string FRoot;
    std::size_t FTextBytes = 0;
};

// One archive per size for the whole run: writing it is the slow part.
TArchive& ArchiveOf(int documents) {
    static std::map<int, std::unique_ptr<TArchive>> archives;
    auto& slot = archives[documents];
    if (!slot) slot = std::make_unique<TArchive>(documents);
    return *slot;
}

std::string Location(const TArchive& archive, bool server) {
    if (!server) return archive.SqlitePath();
    const char* address = std::getenv("RASP_BENCH_POSTGRES");
    return address ? address : "";
}

int Rasp(const std::vector<std::string>& args, std::string* output = nullptr) {
    std::ostringstream out, err;
    const int status = RunRasp(args, out, err);
    if (output) *output = out.str() + err.str();
    return status;
}

void Empty(const TArchive& archive, bool server) {
    if (!server) {
        std::error_code ignored;
        for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(archive.SqlitePath() + suffix, ignored);
        return;
    }
    std::unique_ptr<TIndexStore> store = OpenIndexStore(Location(archive, true), TIndexOpen::CreateIfMissing);
    for (const TIndexedDocument& d : store->List()) store->Remove(d.Path);
}

void Counters(benchmark::State& state, const TArchive& archive, bool server) {
    const TIndexStats stats = OpenIndexStore(Location(archive, server), TIndexOpen::Existing)->Stats();
    state.counters["index_MB"] = static_cast<double>(stats.Bytes) / 1e6;
    state.counters["text_MB"] = archive.TextBytes() / 1e6;
    state.counters["index_per_text"] = static_cast<double>(stats.Bytes) / archive.TextBytes();
    state.counters["fingerprints_per_doc"] =
        stats.Documents ? static_cast<double>(stats.Fingerprints) / static_cast<double>(stats.Documents) : 0;
}

void BM_Add(benchmark::State& state, bool server) {
    TArchive& archive = ArchiveOf(static_cast<int>(state.range(0)));
    if (Location(archive, server).empty()) return state.SkipWithError("RASP_BENCH_POSTGRES is not set");
    for (auto _ : state) {
        state.PauseTiming();
        Empty(archive, server);
        state.ResumeTiming();
        std::string output;
        if (Rasp({"index", "add", Location(archive, server), archive.Folder()}, &output) != 0)
            state.SkipWithError(output.c_str());
    }
    state.counters["docs_per_s"] =
        benchmark::Counter(static_cast<double>(state.range(0)) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    Counters(state, archive, server);
}

void BM_Check(benchmark::State& state, bool server) {
    TArchive& archive = ArchiveOf(static_cast<int>(state.range(0)));
    const std::string location = Location(archive, server);
    if (location.empty()) return state.SkipWithError("RASP_BENCH_POSTGRES is not set");
    // Indexed once, by the add benchmark if it ran first.
    if (Rasp({"index", "add", location, archive.Folder()}) != 0) return state.SkipWithError("add failed");
    std::string table;
    for (auto _ : state) {
        if (Rasp({"check", archive.Article(), "--index", location, "--any-order", "--top", "3"}, &table) != 0)
            state.SkipWithError(table.c_str());
    }
    const std::size_t last = table.rfind('\n', table.size() - 2);
    state.SetLabel(table.substr(last + 1, table.size() - last - 2));
    Counters(state, archive, server);
}

BENCHMARK_CAPTURE(BM_Add, sqlite, false)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_Check, sqlite, false)->Arg(1000)->Arg(10000)->Arg(100000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Add, postgres, true)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_Check, postgres, true)->Arg(1000)->Arg(10000)->Arg(100000)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rasp::bench

BENCHMARK_MAIN();
