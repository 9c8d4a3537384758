// The frame of a 1280 x 800 window with the built-in skin: one whole paint
// (strips, caption objects, client background) and one rebuild of the
// window region from the mask.

#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsFramePaint.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinForm.h"

#include <QApplication>
#include <QPainter>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

namespace {

TbsSkinData& Builtin() {
  static TbsSkinData skin;
  if (skin.SkinEmpty) {
    TbsCompressedStoredSkin stored;
    bsAssignBuiltinSkin(stored);
    skin.LoadStoredSkin(stored);
  }
  return skin;
}

void BM_PaintFrame1280x800(benchmark::State& state) {
  QWidget form;
  new QVBoxLayout(&form);
  form.resize(1280, 800);
  auto* frame = new TbsSkinForm(&form);
  frame->SetSkinData(&Builtin());
  QImage target(1280, 800, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter p(&target);
    frame->PaintFrame(p);
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(BM_PaintFrame1280x800)->Unit(benchmark::kMillisecond);

void BM_FrameRegion1280x800(benchmark::State& state) {
  TbsSkinData& skin = Builtin();
  const TbsFrameLayout layout = bsComputeFrameLayout(skin, 1280, 800);
  for (auto _ : state) {
    QRegion r = bsFrameRegion(skin, layout);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_FrameRegion1280x800)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
