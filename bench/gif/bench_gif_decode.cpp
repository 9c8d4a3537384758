// Decoding a 468 x 60 banner of 50 frames: our decoder against Qt's GIF
// reader on the same bytes. Qt composes each frame into a full 32-bit picture,
// so the fair comparison is "decode + compose"; decode alone is shown too.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <cstdio>

#include "gif/GIFCompositor.h"
#include "gif/GIFImage.h"
#include "tests/gif/GifBuilder.h"

namespace {

using rasp::test::Bytes;

// 50 frames of a banner: sliding stripes, a moving block and noise-free text
// areas, 32 colours, full-screen frames as most banner tools write them.
const Bytes& Banner() {
  static const Bytes file = [] {
    rasp::test::TGifBuilder gif(468, 60, rasp::test::Palette(32));
    gif.Loop(0);
    for (int f = 0; f < 50; ++f) {
      Bytes px;
      px.reserve(468 * 60);
      for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 468; ++x) {
          int v = ((x + f * 5) / 24) % 4;
          if (x >= 100 + f * 6 && x < 130 + f * 6 && y >= 15 && y < 45) v = 8 + (x * 3 + y) % 5;
          if (y >= 20 && y < 40 && x >= 20 && x < 90) v = 16 + ((x / 4) ^ (y / 3)) % 16;
          px.push_back(std::uint8_t(v));
        }
      gif.Gce(1, 10).Frame(0, 0, 468, 60, px);
    }
    return gif.Build();
  }();
  return file;
}

double g_ours = 0, g_oursCompose = 0, g_qt = 0;

void BM_OursDecode(benchmark::State& state) {
  for (auto _ : state) {
    rasp::TGIFImage img;
    img.LoadFromBytes(Banner());
    for (int i = 0; i < img.Count(); ++i) benchmark::DoNotOptimize(img.FrameBitmap(i).Pixels.data());
  }
}

void BM_OursDecodeAndCompose(benchmark::State& state) {
  for (auto _ : state) {
    rasp::TGIFImage img;
    img.LoadFromBytes(Banner());
    rasp::TGIFCompositor c;
    rasp::TColor key;
    for (int i = 0; i < img.Count(); ++i) benchmark::DoNotOptimize(c.ComposeFrame(img, i, 0xFFFFFF, key).Pixels.data());
  }
}

void BM_QImageReader(benchmark::State& state) {
  const QByteArray bytes(reinterpret_cast<const char*>(Banner().data()), qsizetype(Banner().size()));
  for (auto _ : state) {
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf, "gif");
    int frames = 0;
    QImage img;
    while (reader.read(&img)) ++frames;
    if (frames != 50) state.SkipWithError("Qt read a different number of frames");
    benchmark::DoNotOptimize(img.constBits());
  }
}

BENCHMARK(BM_OursDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OursDecodeAndCompose)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QImageReader)->Unit(benchmark::kMillisecond);

class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      // CPU time: the machine is shared, and both sides run on one thread.
      const double t = r.GetAdjustedCPUTime();
      if (r.benchmark_name() == "BM_OursDecode") g_ours = t;
      if (r.benchmark_name() == "BM_OursDecodeAndCompose") g_oursCompose = t;
      if (r.benchmark_name() == "BM_QImageReader") g_qt = t;
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::printf("banner: %zu bytes, 468 x 60, 50 frames\n", Banner().size());
  if (g_qt > 0 && g_ours > 0) {
    std::printf("CPU per banner: ours %.2f ms (decode), %.2f ms (decode and compose); Qt %.2f ms\n", g_ours,
                g_oursCompose, g_qt);
    std::printf("ratio ours/Qt, decode only:        %.2f\n", g_ours / g_qt);
    std::printf("ratio ours/Qt, decode and compose: %.2f\n", g_oursCompose / g_qt);
  }
  return 0;
}
