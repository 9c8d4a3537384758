// The piece image of the two looks the window draws most: a 400 × 300
// nine-piece panel (the group box layout) and a 100 × 21 horizontal button.

#include "skinctrls/bsPieceImage.h"

#include <benchmark/benchmark.h>

namespace {

TbsPixelImage Picture()
{
    TbsPixelImage img(160, 200);
    for (std::size_t i = 0; i < img.Pixels.size(); ++i)
        img.Pixels[i] = 0xFF000000u | std::uint32_t(i * 2654435761u >> 8);
    return img;
}

void Run(benchmark::State& state, const TbsPieceGeometry& g, int w, int h)
{
    const TbsPixelImage pic = Picture();
    int iw = 0, ih = 0;
    bsPieceImageSize(g, w, h, iw, ih);
    TbsPixelImage out(iw, ih);
    for (auto _ : state) {
        bsBuildPieceImage(out.Target(), pic.View(), g.SkinRect, g, w, h);
        benchmark::DoNotOptimize(out.Pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(iw) * ih);
}

void BM_NinePiecePanel400x300(benchmark::State& state)
{
    TbsPieceGeometry g{{0, 88, 60, 148}, {7, 24}, {53, 24}, {7, 53}, {53, 53}, {2, 24, 58, 58}, pmNinePiece};
    Run(state, g, 400, 300);
}

void BM_FlatPanel400x300(benchmark::State& state)
{
    // The plain "panel": a 12 × 12 picture with a 6 × 6 middle.
    TbsPieceGeometry g{{100, 40, 112, 52}, {3, 3}, {9, 3}, {3, 9}, {9, 9}, {3, 3, 9, 9}, pmNinePiece};
    Run(state, g, 400, 300);
}

void BM_Button100x21(benchmark::State& state)
{
    TbsPieceGeometry g{{0, 0, 40, 21}, {5, 0}, {35, 0}, {}, {}, {5, 3, 35, 18}, pmHorizontal};
    Run(state, g, 100, 21);
}

void BM_ButtonOneColumnMiddle100x21(benchmark::State& state)
{
    TbsPieceGeometry g{{0, 0, 40, 21}, {20, 0}, {20, 0}, {}, {}, {}, pmHorizontal};
    Run(state, g, 100, 21);
}

}  // namespace

BENCHMARK(BM_NinePiecePanel400x300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FlatPanel400x300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Button100x21)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ButtonOneColumnMiddle100x21)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
