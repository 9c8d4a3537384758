// Loading the built-in skin: inflating, reading the bitmaps, parsing the
// description and swapping it into the skin data. Prints the package sizes.

#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinDescription.h"
#include "skin/bsSkinPackage.h"
#include "skin/bsZlib.h"
#include "skin/bsSkinLimits.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

void BM_LoadBuiltinSkin(benchmark::State& state) {
  TbsCompressedStoredSkin stored;
  bsAssignBuiltinSkin(stored);
  TbsSkinData skin;
  for (auto _ : state) {
    skin.LoadStoredSkin(stored);
    benchmark::DoNotOptimize(skin.SkinControls.size());
  }
  std::vector<std::uint8_t> inflated;
  stored.DecompressTo(inflated);
  state.counters["compressed_bytes"] = double(stored.CompressedData.size());
  state.counters["package_bytes"] = double(inflated.size());
  state.counters["controls"] = double(skin.SkinControls.size());
}
BENCHMARK(BM_LoadBuiltinSkin)->Unit(benchmark::kMicrosecond);

void BM_ParseDescription(benchmark::State& state) {
  TbsCompressedStoredSkin stored;
  bsAssignBuiltinSkin(stored);
  std::vector<std::uint8_t> inflated;
  stored.DecompressTo(inflated);
  const std::string text = bsReadSkinPackage(inflated).Description;
  for (auto _ : state) {
    TbsLoadedSkin skin;
    bsReadSkinDescription(TbsSkinIni::Parse(text), skin);
    benchmark::DoNotOptimize(skin.Content.SkinControls.size());
  }
  state.counters["description_bytes"] = double(text.size());
}
BENCHMARK(BM_ParseDescription)->Unit(benchmark::kMicrosecond);

void BM_Inflate(benchmark::State& state) {
  TbsCompressedStoredSkin stored;
  bsAssignBuiltinSkin(stored);
  for (auto _ : state) {
    std::vector<std::uint8_t> inflated;
    bsInflate(stored.CompressedData, inflated, kMaxInflatedSkinBytes);
    benchmark::DoNotOptimize(inflated.data());
  }
}
BENCHMARK(BM_Inflate)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
