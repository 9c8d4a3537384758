// Damaged files: a GIF cut at every length, and random corruption. Nothing may
// crash, and whatever is decoded must agree with the intact file.
#include <gtest/gtest.h>

#include <random>

#include "gif/GIFCompositor.h"
#include "gif/GIFImage.h"
#include "tests/gif/GifBuilder.h"

namespace rasp {
namespace {

using test::Bytes;
using test::Palette;
using test::TGifBuilder;

Bytes Pattern(int w, int h, int colours, int seed) {
  Bytes px;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) px.push_back(std::uint8_t(((x / 2 + seed) * (y / 3 + 1) + seed * y) % colours));
  return px;
}

Bytes SampleFile() {
  return TGifBuilder(20, 12, Palette(16), 3)
      .Loop(0)
      .Comment("banner")
      .Gce(1, 10).Frame(0, 0, 20, 12, Pattern(20, 12, 16, 1))
      .Gce(2, 20, 5).Frame(3, 2, 9, 7, Pattern(9, 7, 16, 2))
      .Gce(3, 30).Frame(0, 0, 20, 12, Pattern(20, 12, 16, 3), {}, true)
      .Gce(0, 40, 1).Frame(5, 4, 11, 6, Pattern(11, 6, 4, 4), Palette(4))
      .Comment("end")
      .Build();
}

// Rows of a frame in the order its data fill them.
std::vector<int> DecodeOrder(int h, bool interlaced) {
  std::vector<int> rows;
  if (!interlaced) {
    for (int r = 0; r < h; ++r) rows.push_back(r);
    return rows;
  }
  static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
  for (int p = 0; p < 4; ++p)
    for (int r = start[p]; r < h; r += step[p]) rows.push_back(r);
  return rows;
}

TEST(GifTruncation, EveryCutDecodesAPrefixOfTheIntactFile) {
  const Bytes file = SampleFile();
  TGIFImage full;
  full.LoadFromBytes(file);
  ASSERT_EQ(full.Count(), 4);
  for (int i = 0; i < full.Count(); ++i) full.FrameBitmap(i);
  ASSERT_FALSE(full.DataDamaged);

  int lastCount = 0;
  for (std::size_t len = 0; len < file.size(); ++len) {
    SCOPED_TRACE("length " + std::to_string(len));
    TGIFImage cut;
    try {
      cut.LoadFromBytes(std::span(file.data(), len));
    } catch (const EInvalidGraphicOperation&) {
      EXPECT_EQ(cut.Count(), 0);
      EXPECT_EQ(lastCount, 0);  // once a frame is held, a longer cut never fails
      continue;
    }
    ASSERT_LE(cut.Count(), full.Count());
    EXPECT_GE(cut.Count(), lastCount);
    lastCount = cut.Count();
    for (int i = 0; i < cut.Count(); ++i) {
      const TGIFBitmap& a = cut.FrameBitmap(i);
      const TGIFBitmap& b = full.FrameBitmap(i);
      ASSERT_EQ(a.Width, b.Width);
      ASSERT_EQ(a.Height, b.Height);
      // In decode order: the intact pixels first, then nothing but index 0.
      bool cutReached = false;
      for (int r : DecodeOrder(a.Height, cut.Frame(i).IsInterlaced))
        for (int x = 0; x < a.Width; ++x) {
          if (!cutReached && a.At(x, r) != b.At(x, r)) cutReached = true;
          if (cutReached) {
            ASSERT_EQ(a.At(x, r), 0) << "frame " << i << " row " << r;
          }
        }
      if (i + 1 < cut.Count()) {
        EXPECT_FALSE(cutReached) << "frame " << i << " is followed by another";
      }
    }
    // Composing what is there must work too.
    TGIFCompositor c;
    TColor key;
    for (int i = 0; i < cut.Count(); ++i) c.ComposeFrame(cut, i, 0xFFFFFF, key);
  }
  EXPECT_EQ(lastCount, 4);
}

TEST(GifTruncation, RandomCorruptionNeverCrashes) {
  const Bytes file = SampleFile();
  std::mt19937 rng(12345);
  for (int round = 0; round < 3000; ++round) {
    Bytes bad = file;
    const int edits = 1 + int(rng() % 6);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = 6 + rng() % (bad.size() - 6);  // keep the signature
      switch (rng() % 3) {
        case 0: bad[at] = std::uint8_t(rng()); break;
        case 1: bad[at] ^= std::uint8_t(1u << (rng() % 8)); break;
        case 2: bad.erase(bad.begin() + std::ptrdiff_t(at)); break;
      }
    }
    TGIFImage img;
    try {
      img.LoadFromBytes(bad);
    } catch (const EInvalidGraphicOperation&) {
    }
    TGIFCompositor c;
    TColor key;
    for (int i = 0; i < img.Count(); ++i) {
      try {
        c.ComposeFrame(img, i, 0xFFFFFF, key);
      } catch (const EInvalidGraphicOperation&) {
        c.Forget();
      }
    }
  }
}

}  // namespace
}  // namespace rasp
