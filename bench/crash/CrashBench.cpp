// Resolving 1,000 code addresses of tellivo-rasp through its data block, and
// the raw scan of a 1 MiB stack. Prints the size of the program's block too.
#include "crash/modules/CrashDataBlock.h"
#include "crash/modules/CrashDebugData.h"
#include "crash/modules/CrashElf.h"
#include "crash/modules/CrashModules.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

using namespace rasp;

namespace {
struct TProgram {
  TCrashDebugData Debug;
  std::vector<uint64_t> Addresses;
  size_t BlockSize = 0;
  bool Ok = false;

  TProgram() {
    TElfImage image;
    if (!image.OpenFile(TELLIVO_RASP_BINARY)) return;
    if (const TElfSection* s = image.FindSection(CrashBlockSection)) BlockSize = size_t(s->Size);
    std::vector<uint64_t> starts;
    image.ForEachFunction([&](const TElfSymbol& s) {
      if (s.Size > 4) starts.push_back(s.Value + s.Size / 2);
    });
    TCrashModuleOptions options("", false);
    TCrashBlock block;
    if (starts.empty() || !ReadModuleDataBlock(TELLIVO_RASP_BINARY, options, block)) return;
    if (!Debug.Open(std::move(block.DebugData), block.DataVersion)) return;
    std::mt19937 rng(1);
    for (int i = 0; i < 1000; ++i) Addresses.push_back(starts[rng() % starts.size()]);
    Ok = true;
  }
};

TProgram& Program() {
  static TProgram p;
  return p;
}

void BM_Resolve1000AddressesOfTellivoRasp(benchmark::State& state) {
  TProgram& p = Program();
  if (!p.Ok) {
    state.SkipWithError("tellivo-rasp has no readable data block");
    return;
  }
  size_t found = 0;
  for (auto _ : state) {
    found = 0;
    for (uint64_t a : p.Addresses) {
      TCrashLineHit hit;
      found += p.Debug.Lookup(a, hit);
      benchmark::DoNotOptimize(hit);
    }
  }
  state.counters["resolved"] = double(found);
  state.counters["block_bytes"] = double(p.BlockSize);
  state.counters["units"] = double(p.Debug.UnitCount());
}
BENCHMARK(BM_Resolve1000AddressesOfTellivoRasp)->Unit(benchmark::kMillisecond);

// A 1 MiB stack of small numbers with a return address of this program every
// 4 KiB: the scan reads every slot and resolves the return addresses.
void BM_RawScanOf1MiBStack(benchmark::State& state) {
  std::vector<uint64_t> stack(0x100000 / 8);
  for (size_t i = 0; i < stack.size(); ++i) stack[i] = i;
  uintptr_t ret = reinterpret_cast<uintptr_t>(__builtin_return_address(0));
  for (size_t i = 0; i < stack.size(); i += 512) stack[i] = ret;
  TCrashModulesList list;
  list.ResolveAddress(ret);  // the module record is built once per report, not per scan
  size_t entries = 0;
  for (auto _ : state) {
    TCrashStackList found =
        list.BuildCallStack(std::nullopt, uintptr_t(stack.data()), uintptr_t(stack.data() + stack.size()));
    entries = size_t(found.Count());
    benchmark::DoNotOptimize(found);
  }
  state.counters["entries"] = double(entries);
}
BENCHMARK(BM_RawScanOf1MiBStack)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
