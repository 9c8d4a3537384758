// The morph and inactive-effect operations on a caption-sized strip, and one
// full paint of a skinned 20-item menu window.

#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsEffects.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinMenu.h"

#include <QApplication>
#include <QMenu>

#include <benchmark/benchmark.h>

#include <random>

namespace {

TbsEffectBmp Noise(int w, int h, unsigned seed) {
  TbsEffectBmp b(w, h);
  std::mt19937 rng(seed);
  for (std::size_t i = 0; i < b.ByteSize(); ++i) b.Bits()[i] = std::uint8_t(rng());
  return b;
}

void BM_CrossFade1000x100(benchmark::State& state) {
  const TbsEffectBmp a0 = Noise(1000, 100, 1), b = Noise(1000, 100, 2);
  TbsEffectBmp a = a0;
  for (auto _ : state) {
    a.CrossFade(b, 0.4);
    benchmark::DoNotOptimize(a.Bits());
  }
}
BENCHMARK(BM_CrossFade1000x100)->Unit(benchmark::kMicrosecond);

void BM_SplitBlur1000x100(benchmark::State& state) {
  TbsEffectBmp a = Noise(1000, 100, 3);
  for (auto _ : state) {
    a.SplitBlur(1);
    benchmark::DoNotOptimize(a.Bits());
  }
}
BENCHMARK(BM_SplitBlur1000x100)->Unit(benchmark::kMicrosecond);

void BM_Morph1000x100(benchmark::State& state) {
  const TbsEffectBmp b = Noise(1000, 100, 2);
  TbsEffectBmp a = Noise(1000, 100, 1);
  const auto kind = TbsMorphKind(state.range(0));
  for (auto _ : state) {
    a.Morph(kind, b, 0.4);
    benchmark::DoNotOptimize(a.Bits());
  }
}
BENCHMARK(BM_Morph1000x100)->DenseRange(1, 6)->Unit(benchmark::kMicrosecond);

void BM_SkinnedMenuPaint20Items(benchmark::State& state) {
  TbsCompressedStoredSkin stored;
  bsAssignBuiltinSkin(stored);
  TbsSkinData skin;
  skin.LoadStoredSkin(stored);
  QWidget form;
  TbsSkinMenu driver(&form);
  QMenu menu;
  for (int i = 0; i < 20; ++i) menu.addAction(QStringLiteral("Menu item number %1").arg(i))->setShortcut(QKeySequence("Ctrl+F5"));
  driver.Popup(&form, &skin, &menu, QRect(10, 10, 0, 0));
  TbsSkinPopupWindow* w = driver.TopWindow();
  for (auto _ : state) {
    QImage img = w->Compose();
    benchmark::DoNotOptimize(img.constBits());
  }
  state.counters["width"] = w->width();
  state.counters["height"] = w->height();
  driver.CloseAll();
}
BENCHMARK(BM_SkinnedMenuPaint20Items)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
