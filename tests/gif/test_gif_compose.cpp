// Composition of full-screen pictures: disposal methods against expected
// grids, per-pixel transparency, and the cached path against both a fresh
// composition and a plain frame-by-frame reference on random animations.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "gif/GIFCompositor.h"
#include "tests/gif/GifBuilder.h"

namespace rasp {
namespace {

using test::Bytes;
using test::TGifBuilder;

constexpr TColor kWindow = MakeColor(250, 250, 250);

// Index 0 red, 1 'A', 2 'B', 3 'C'; the window colour is 'W'.
const std::vector<TRGB> kPal = {{255, 0, 0}, {10, 10, 10}, {20, 20, 20}, {30, 30, 30}};

std::vector<std::string> Grid(const TGIFComposite& pic) {
  std::map<std::uint32_t, char> names = {{0xFFFF0000u, 'R'}, {0xFF0A0A0Au, 'A'}, {0xFF141414u, 'B'},
                                         {0xFF1E1E1Eu, 'C'}, {0xFFFAFAFAu, 'W'}};
  std::vector<std::string> rows;
  for (int y = 0; y < pic.Height; ++y) {
    std::string row;
    for (int x = 0; x < pic.Width; ++x) {
      const std::uint32_t p = pic.At(x, y);
      if ((p >> 24) == 0)
        row += '.';
      else
        row += names.count(p) ? names[p] : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

TGIFImage Load(const Bytes& file) {
  TGIFImage img;
  img.LoadFromBytes(file);
  return img;
}

std::vector<std::string> Fresh(TGIFImage& img, int n, TColor* key = nullptr) {
  TGIFCompositor c;
  TColor k;
  auto g = Grid(c.ComposeFrame(img, n, kWindow, k));
  if (key) *key = k;
  return g;
}

// Frame 0 fills the 4 x 2 screen with A; frame 1 (disposal d) puts B B at
// (1,0); frame 2 puts C C at (2,1).
Bytes ThreeFrames(int disposal) {
  return TGifBuilder(4, 2, kPal)
      .Gce(1, 10).Frame(0, 0, 4, 2, Bytes(8, 1))
      .Gce(disposal, 10).Frame(1, 0, 2, 1, {2, 2})
      .Gce(0, 10).Frame(2, 1, 2, 1, {3, 3})
      .Build();
}

TEST(GifCompose, DisposalLeaveInPlace) {
  for (int d : {0, 1}) {
    TGIFImage img = Load(ThreeFrames(d));
    EXPECT_EQ(Fresh(img, 1), (std::vector<std::string>{"ABBA", "AAAA"}));
    EXPECT_EQ(Fresh(img, 2), (std::vector<std::string>{"ABBA", "AACC"})) << d;
  }
}

TEST(GifCompose, DisposalRestoreToBackground) {
  TGIFImage img = Load(ThreeFrames(2));
  // No key colour anywhere: the background is the window colour.
  EXPECT_EQ(Fresh(img, 2), (std::vector<std::string>{"AWWA", "AACC"}));
}

TEST(GifCompose, DisposalRestoreToPreviousAndAboveAlike) {
  for (int d : {3, 4, 7}) {
    TGIFImage img = Load(ThreeFrames(d));
    EXPECT_EQ(Fresh(img, 2), (std::vector<std::string>{"AAAA", "AACC"})) << d;
    TGIFCompositor c;
    TColor k;
    c.ComposeFrame(img, 0, kWindow, k);
    c.ComposeFrame(img, 1, kWindow, k);
    EXPECT_EQ(Grid(c.ComposeFrame(img, 2, kWindow, k)), (std::vector<std::string>{"AAAA", "AACC"})) << d;
  }
}

TEST(GifCompose, ACoveringFrameThatIsRestoredIsNoStartingPoint) {
  // Frame 2 covers the screen but is restored to what was before it, so
  // frame 3 shows over frames 0 and 1.
  TGIFImage img = Load(TGifBuilder(4, 2, kPal)
                           .Gce(1, 10).Frame(0, 0, 4, 2, Bytes(8, 1))
                           .Gce(1, 10).Frame(1, 0, 2, 1, {2, 2})
                           .Gce(3, 10).Frame(0, 0, 4, 2, Bytes(8, 3))
                           .Gce(1, 10).Frame(3, 1, 1, 1, {3})
                           .Build());
  EXPECT_EQ(CompositionStart(img, 3), 0);
  EXPECT_EQ(Fresh(img, 3), (std::vector<std::string>{"ABBA", "AAAC"}));
  EXPECT_EQ(Fresh(img, 2), (std::vector<std::string>{"CCCC", "CCCC"}));
  EXPECT_EQ(CompositionStart(img, 2), 2);
}

TEST(GifCompose, OpaquePixelOfTheKeyColourStaysOpaque) {
  // Frame 0 is transparent on red (index 0); frame 1 draws an opaque red pixel.
  TGIFImage img = Load(TGifBuilder(4, 2, kPal)
                           .Gce(1, 10, 0).Frame(0, 0, 4, 2, {0, 1, 1, 0, 1, 0, 0, 1})
                           .Gce(1, 10).Frame(0, 0, 1, 1, {0})
                           .Build());
  TColor key;
  EXPECT_EQ(Fresh(img, 0, &key), (std::vector<std::string>{".AA.", "A..A"}));
  EXPECT_EQ(key, MakeColor(255, 0, 0));
  EXPECT_EQ(Fresh(img, 1), (std::vector<std::string>{"RAA.", "A..A"}));
  // Left-out pixels still carry the key colour for an opaque showing.
  TGIFCompositor c;
  TColor k;
  EXPECT_EQ(c.ComposeFrame(img, 0, kWindow, k).At(3, 0), 0x00FF0000u);
}

TEST(GifCompose, BackdropFillsATransparentImageWhoseFirstFrameIsOpaque) {
  TGIFImage img = Load(TGifBuilder(3, 1, kPal, 2)
                           .Gce(1, 10).Frame(0, 0, 1, 1, {1})
                           .Gce(1, 10, 0).Frame(2, 0, 1, 1, {0})
                           .Build());
  TColor key;
  EXPECT_EQ(Fresh(img, 1, &key), (std::vector<std::string>{"ABB"}));
  EXPECT_EQ(key, kNoColor);
  // Without the transparency switch the window colour is used.
  img.Transparent = false;
  EXPECT_EQ(Fresh(img, 0), (std::vector<std::string>{"AWW"}));
}

TEST(GifCompose, IndexBeyondTheFrameListShowsTheLastFrame) {
  TGIFImage img = Load(ThreeFrames(1));
  EXPECT_EQ(Fresh(img, 99), Fresh(img, 2));
  TGIFImage empty;
  TGIFCompositor c;
  TColor k;
  EXPECT_EQ(c.ComposeFrame(empty, 0, kWindow, k).Width, 0);
}

// --- random animations against a plain reference -------------------------

struct TSpecFrame {
  int X, Y, W, H, Disposal, Key;
  Bytes Pixels;
};

// Shows frames 0..n one after another on a canvas, keeping the canvas before
// each frame for "restore to previous".
std::vector<std::uint32_t> Reference(const std::vector<TSpecFrame>& frames, int sw, int sh, int n,
                                     std::uint32_t brush) {
  auto argb = [](int i) {
    const TRGB& c = kPal[std::size_t(i)];
    return 0xFF000000u | (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b;
  };
  std::vector<std::uint32_t> canvas(std::size_t(sw * sh), brush);
  for (int i = 0;; ++i) {
    const TSpecFrame& f = frames[std::size_t(i)];
    const auto before = canvas;
    for (int y = 0; y < f.H; ++y)
      for (int x = 0; x < f.W; ++x) {
        const int v = f.Pixels[std::size_t(y * f.W + x)];
        if (v == f.Key || f.X + x >= sw || f.Y + y >= sh) continue;
        canvas[std::size_t((f.Y + y) * sw + f.X + x)] = argb(v);
      }
    if (i == n) return canvas;
    if (f.Disposal == 2) {
      for (int y = f.Y; y < std::min(sh, f.Y + f.H); ++y)
        for (int x = f.X; x < std::min(sw, f.X + f.W); ++x) canvas[std::size_t(y * sw + x)] = brush;
    } else if (f.Disposal >= 3) {
      canvas = before;
    }
  }
}

TEST(GifCompose, CachedAndFreshAgreeWithAFrameByFrameReference) {
  std::mt19937 rng(4711);
  const int sw = 7, sh = 5;
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const int count = 1 + int(rng() % 7);
    std::vector<TSpecFrame> frames;
    TGifBuilder b(sw, sh, kPal, int(rng() % 4));
    for (int i = 0; i < count; ++i) {
      TSpecFrame f;
      if (rng() % 3 == 0) {
        f.X = f.Y = 0;
        f.W = sw;
        f.H = sh;
      } else {
        f.X = int(rng() % (sw + 1));
        f.Y = int(rng() % (sh + 1));
        f.W = 1 + int(rng() % sw);
        f.H = 1 + int(rng() % sh);
      }
      f.Disposal = int(rng() % 8);
      f.Key = rng() % 2 ? int(rng() % 4) : -1;
      for (int p = 0; p < f.W * f.H; ++p) f.Pixels.push_back(std::uint8_t(rng() % 4));
      b.Gce(f.Disposal, 5, f.Key).Frame(f.X, f.Y, f.W, f.H, f.Pixels);
      frames.push_back(std::move(f));
    }
    TGIFImage img = Load(b.Build());
    ASSERT_EQ(img.Count(), count);

    std::uint32_t brush;
    if (frames[0].Key >= 0) {
      // Transparent, but still carrying the key colour.
      const TRGB& c = kPal[std::size_t(frames[0].Key)];
      brush = (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b;
    } else if (img.IsTransparent()) {
      const TColor bd = img.BackdropColor;
      brush = 0xFF000000u | (std::uint32_t(ColorR(bd)) << 16) | (std::uint32_t(ColorG(bd)) << 8) | ColorB(bd);
    } else {
      brush = 0xFFFAFAFAu;
    }

    TGIFCompositor cached;
    for (int n = 0; n < count; ++n) {
      SCOPED_TRACE("frame " + std::to_string(n));
      TColor k1, k2;
      TGIFCompositor fresh;
      const TGIFComposite a = fresh.ComposeFrame(img, n, kWindow, k1);
      const TGIFComposite& c = cached.ComposeFrame(img, n, kWindow, k2);
      EXPECT_EQ(a, c);
      EXPECT_EQ(k1, k2);
      EXPECT_EQ(a.Pixels, Reference(frames, sw, sh, n, brush));
    }
    // And once more round the loop, as the animator plays it.
    TColor k;
    TGIFCompositor fresh;
    EXPECT_EQ(cached.ComposeFrame(img, 0, kWindow, k), fresh.ComposeFrame(img, 0, kWindow, k));
  }
}

}  // namespace
}  // namespace rasp

namespace rasp {
namespace {

TEST(GifCompose, FramesOffAZeroWidthScreenDrawNothing) {
  // Found by fuzzing: a screen 0 pixels wide and a frame at left 1792 made the
  // compositor form row pointers into an empty picture.
  const Bytes file{'G', 'I', 'F', '8', '9', 'a', 0, 0, 3, 0, 0x80, 0, 0, 1, 2, 3, 4, 5, 6,
                   0x2C, 0x00, 0x07, 0, 0, 1, 0, 1, 0, 0, 2};
  ASSERT_EQ(file.size(), 30u);
  TGIFImage img;
  img.LoadFromBytes(file);
  ASSERT_EQ(img.Count(), 1);
  TGIFCompositor c;
  TColor key;
  const TGIFComposite& pic = c.ComposeFrame(img, 0, kNoColor, key);
  EXPECT_EQ(pic.Width, 0);
  EXPECT_EQ(pic.Height, 3);
  // Disposal 2 clears the frame's rectangle before the next one: off screen too.
  TGIFImage two = Load(TGifBuilder(0, 2, test::Palette(2)).Gce(2, 1).Frame(1792, 0, 1, 1, {1})
                           .Frame(900, 1, 1, 1, {0}).Build());
  TGIFCompositor c2;
  c2.ComposeFrame(two, 0, kNoColor, key);
  EXPECT_EQ(c2.ComposeFrame(two, 1, kNoColor, key).Pixels.size(), 0u);
}

}  // namespace
}  // namespace rasp
