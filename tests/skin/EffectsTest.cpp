// The effect bitmap: the worked values, odd sizes, and every transition and
// effect against a plain per-pixel reference written here from the rules.

#include "skin/bsEffectImage.h"
#include "skin/bsEffects.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace {

using Px = std::array<int, 3>;  // blue, green, red
struct Ref {
  int W, H;
  std::vector<Px> P;
  Px& at(int x, int y) { return P[std::size_t(y * W + x)]; }
};

int N(double v) {
  const double r = std::nearbyint(v);  // default rounding: halves to even
  return r < 0 ? 0 : r > 255 ? 255 : int(r);
}

Ref ToRef(const TbsEffectBmp& b) {
  Ref r{b.Width(), b.Height(), {}};
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const TbsPixel p = b.GetPixel(x, y);
      r.P.push_back({p.B, p.G, p.R});
    }
  return r;
}

TbsEffectBmp Random(int w, int h, unsigned seed) {
  std::mt19937 rng(seed);
  TbsEffectBmp b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixel(x, y, TbsPixel{std::uint8_t(rng()), std::uint8_t(rng()), std::uint8_t(rng())});
  return b;
}

void Mix(Px& a, const Px& b, double w) {
  for (int c = 0; c < 3; ++c) a[c] = N(w * a[c] + (1 - w) * b[c]);
}

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

// Reference transitions, pixel by pixel.
void RefMorph(int kind, Ref& A, Ref& B, double k) {
  const int W = A.W, H = A.H;
  switch (kind) {
    case 0: {
      k = k < 0 ? 0 : k > 1 ? 1 : k;
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
          for (int c = 0; c < 3; ++c) A.at(x, y)[c] = N((1 - k) * A.at(x, y)[c] + k * B.at(x, y)[c]);
      return;
    }
    case 1: {
      if (W >= H) {
        const int a = int(std::nearbyint(W * k)), f = (W - a) / 2, c = a / 2;
        const double e = f == 0 ? 1.0 : 1.0 / f;
        const int m = W / 2, g = std::max(m - c, 0), r = std::min(m + c, W - 1);
        for (int y = 0; y < H; ++y) {
          for (int x = g; x <= r; ++x) A.at(x, y) = B.at(x, y);
          double w = 0;
          for (int x = g; x >= 0; --x, w = std::min(w + e, 1.0)) Mix(A.at(x, y), B.at(x, y), w);
          w = 0;
          for (int x = r; x < W; ++x, w = std::min(w + e, 1.0)) Mix(A.at(x, y), B.at(x, y), w);
        }
      } else {
        const int b = int(std::nearbyint(H * k)), f = (H - b) / 2, c = b / 2;
        const double e = f == 0 ? 0.0 : 1.0 / f;
        const int first = std::max(H / 2 - c, 0), last = std::min(H / 2 + c, H - 1);
        for (int y = first; y <= last; ++y)
          for (int x = 0; x < W; ++x) A.at(x, y) = B.at(x, y);
        double w = 0;
        for (int y = first; y >= 0; --y, w = std::min(w + e, 1.0))
          for (int x = 0; x < W; ++x) Mix(A.at(x, y), B.at(x, y), w);
        w = 0;
        for (int y = last; y < H; ++y, w = std::min(w + e, 1.0))
          for (int x = 0; x < W; ++x) Mix(A.at(x, y), B.at(x, y), w);
      }
      return;
    }
    case 2: {
      int a = int(std::nearbyint(W * k));
      a = std::min(std::max(a, 1), W - 1);
      for (int y = 0; y < H; ++y) {
        double w = 0;
        for (int x = 0; x <= a; ++x) {
          Mix(A.at(x, y), B.at(x, y), w);
          w = std::min(w + (a > 0 ? 1.0 / a : 1.0), 1.0);
        }
      }
      return;
    }
    case 3: {
      const int a = Clamp(W - int(std::nearbyint(W * k)), 0, W - 1);
      const double e = W - a <= 0 ? 1.0 : 1.0 / (W - a);
      for (int y = 0; y < H; ++y) {
        double w = 0;
        for (int x = W - 1; x >= a; --x) {
          Mix(A.at(x, y), B.at(x, y), w);
          w = std::min(w + e, 1.0);
        }
      }
      return;
    }
    case 4:
    case 5: {
      const int b = std::min(std::max(int(std::nearbyint(W * k)), 1), W - 1);
      for (int y = 0; y < H; ++y)
        for (int i = 0; i < b; ++i) {
          if (kind == 4) A.at(i, y) = B.at(std::min(W - b + i, W - 1), y);
          else A.at(W - b + i, y) = B.at(i, y);
        }
      return;
    }
    case 6: {
      const int a = Clamp(int(std::nearbyint(W * k)), 0, W - 1);
      for (int y = 0; y < H; ++y) {
        std::vector<Px> row(static_cast<std::size_t>(W));
        for (int x = 0; x < W; ++x) row[std::size_t(x)] = A.at(x, y);
        for (int j = W - 1; j >= a + 1; --j) A.at(j, y) = row[std::size_t(j - a - 1)];
        A.at(a, y) = row[0];
        for (int j = 0; j <= a; ++j) A.at(j, y) = B.at(std::min(W - a - 1 + j, W - 1), y);
      }
      return;
    }
  }
}

void ExpectSame(const TbsEffectBmp& got, Ref& want, const std::string& what) {
  ASSERT_EQ(got.Width(), want.W);
  for (int y = 0; y < want.H; ++y)
    for (int x = 0; x < want.W; ++x) {
      const TbsPixel p = got.GetPixel(x, y);
      const Px& r = want.at(x, y);
      ASSERT_TRUE(p.B == r[0] && p.G == r[1] && p.R == r[2])
          << what << " differs at (" << x << "," << y << "): " << int(p.B) << "," << int(p.G) << ","
          << int(p.R) << " instead of " << r[0] << "," << r[1] << "," << r[2];
    }
}

TbsEffectBmp Filled(int w, int h, std::uint8_t v) {
  TbsEffectBmp b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, TbsPixel{v, v, v});
  return b;
}

}  // namespace

TEST(EffectBmp, LayoutIsTheTopDownDeviceIndependentOne) {
  for (int w : {1, 2, 3, 4, 5, 7, 1000}) {
    TbsEffectBmp b(w, 3);
    EXPECT_EQ(b.RowBytes(), 3 * w + w % 4) << w;
    EXPECT_EQ(b.RowBytes() % 4, 0) << w;
    EXPECT_EQ(b.ByteSize(), std::size_t(b.RowBytes()) * 3);
    EXPECT_EQ(b.InfoHeader().biSize, 40u);
    EXPECT_EQ(b.InfoHeader().biWidth, w);
    EXPECT_EQ(b.InfoHeader().biHeight, -3);
    EXPECT_EQ(b.InfoHeader().biPlanes, 1);
    EXPECT_EQ(b.InfoHeader().biBitCount, 24);
    EXPECT_EQ(b.InfoHeader().biCompression, 0u);
  }
  TbsEffectBmp b(2, 1);
  b.SetPixel(1, 0, TbsPixel{1, 2, 3});
  EXPECT_EQ(b.Bits()[3], 1);  // blue first
  EXPECT_EQ(b.Bits()[5], 3);
  TbsEffectBmp empty(-4, 0);
  EXPECT_EQ(empty.ByteSize(), 0u);
}

TEST(EffectBmp, RowsFlipAndTravelToQImageAndBack) {
  TbsEffectBmp a = Random(5, 4, 1), flipped(5, 4);
  a.FlipInto(flipped);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(flipped.GetPixel(x, 3 - y), a.GetPixel(x, y));
  std::vector<std::uint8_t> row(15);
  a.ReadRow(2, row);
  flipped.WriteRow(0, row);
  EXPECT_EQ(flipped.GetPixel(4, 0), a.GetPixel(4, 2));

  const QImage view = bsEffectBmpView(a);
  EXPECT_EQ(view.pixelColor(3, 1), QColor(a.GetPixel(3, 1).R, a.GetPixel(3, 1).G, a.GetPixel(3, 1).B));
  EXPECT_EQ(view.constBits(), a.Bits());  // no copy
  QImage img(6, 5, QImage::Format_ARGB32);
  img.fill(QColor(10, 20, 30));
  img.setPixelColor(2, 2, QColor(200, 100, 50));
  const TbsEffectBmp part = bsEffectBmpFromImage(img, QRect(1, 1, 3, 3));
  EXPECT_EQ(part.GetPixel(1, 1), (TbsPixel{50, 100, 200}));
  EXPECT_EQ(part.GetPixel(0, 0), (TbsPixel{30, 20, 10}));
  // Outside the image stays black.
  const TbsEffectBmp over = bsEffectBmpFromImage(img, QRect(4, 4, 4, 4));
  EXPECT_EQ(over.GetPixel(3, 3), (TbsPixel{0, 0, 0}));
  EXPECT_EQ(over.GetPixel(1, 0), (TbsPixel{30, 20, 10}));
}

TEST(EffectBmp, WorkedValues) {
  // Cross-fade of black into white at 0.5 is N(127.5) = 128; factors clamp first.
  TbsEffectBmp a = Filled(1, 1, 0);
  a.CrossFade(Filled(1, 1, 255), 0.5);
  EXPECT_EQ(a.GetPixel(0, 0), (TbsPixel{128, 128, 128}));
  TbsEffectBmp over = Filled(2, 1, 10);
  over.CrossFade(Filled(2, 1, 200), 7.0);
  EXPECT_EQ(over.GetPixel(1, 0).G, 200);
  TbsEffectBmp under = Filled(2, 1, 10);
  under.CrossFade(Filled(2, 1, 200), -3.0);
  EXPECT_EQ(under.GetPixel(1, 0).G, 10);

  // Left gradient at 0 still shows B in column 0 and A from column 1.
  TbsEffectBmp lg = Filled(10, 2, 40);
  lg.LeftGradient(Filled(10, 2, 220), 0);
  EXPECT_EQ(lg.GetPixel(0, 1).R, 220);
  for (int x = 1; x < 10; ++x) EXPECT_EQ(lg.GetPixel(x, 1).R, 40) << x;

  // Push at 0 on ten columns already moves one column.
  TbsEffectBmp pa(10, 1), pb(10, 1);
  for (int x = 0; x < 10; ++x) {
    pa.SetPixel(x, 0, TbsPixel{std::uint8_t(x), 0, 0});
    pb.SetPixel(x, 0, TbsPixel{std::uint8_t(100 + x), 0, 0});
  }
  pa.Push(pb, 0);
  EXPECT_EQ(pa.GetPixel(0, 0).B, 109);
  for (int x = 1; x < 10; ++x) EXPECT_EQ(pa.GetPixel(x, 0).B, x - 1);

  TbsEffectBmp red(1, 1);
  red.SetPixel(0, 0, TbsPixel{0, 0, 255});
  red.GrayScale();
  EXPECT_EQ(red.GetPixel(0, 0), (TbsPixel{76, 76, 76}));

  TbsEffectBmp dark = Filled(1, 1, 100);
  dark.Darkness(0.3);
  EXPECT_EQ(dark.GetPixel(0, 0).G, 70);
  TbsEffectBmp bright = Filled(1, 1, 100);
  bright.Brightness(0.5);
  EXPECT_EQ(bright.GetPixel(0, 0).G, 178);

  TbsEffectBmp one(1, 1);
  one.SetPixel(0, 0, TbsPixel{3, 130, 255});
  one.SplitBlur(1);
  EXPECT_EQ(one.GetPixel(0, 0), (TbsPixel{3, 130, 255}));

  TbsEffectBmp inv = Filled(1, 1, 55);
  inv.Invert();
  EXPECT_EQ(inv.GetPixel(0, 0).R, 200);
}

TEST(EffectBmp, BuffersOfAnotherSizeAreLeftAlone) {
  const TbsEffectBmp other = Random(7, 5, 3);
  for (int kind = 0; kind <= 6; ++kind) {
    TbsEffectBmp a = Random(8, 5, 4);
    const TbsEffectBmp before = Random(8, 5, 4);
    a.Morph(TbsMorphKind(kind), other, 0.5);
    EXPECT_TRUE(std::equal(a.Bits(), a.Bits() + a.ByteSize(), before.Bits())) << kind;
  }
}

TEST(EffectBmp, TinyAndEmptyBuffersAreSafe) {
  for (auto [w, h] : {std::pair{1, 1}, {1, 9}, {2, 1}, {0, 0}, {0, 5}, {5, 0}, {2, 3}}) {
    for (int kind = 0; kind <= 6; ++kind) {
      for (double k : {0.0, 0.2, 0.5, 1.0}) {
        TbsEffectBmp a = Random(w, h, 5);
        const TbsEffectBmp b = Random(w, h, 6);
        Ref ra = ToRef(a), rb = ToRef(b);
        a.Morph(TbsMorphKind(kind), b, k);
        if (w > 0 && h > 0) RefMorph(kind, ra, rb, k);
        ExpectSame(a, ra, "kind " + std::to_string(kind) + " size " + std::to_string(w) + "x" + std::to_string(h));
      }
    }
    TbsNoiseRandom rnd(1);
    for (int e = 0; e <= 5; ++e) {
      TbsEffectBmp a = Random(w, h, 7);
      a.ApplyInactiveEffect(TbsEffect(e), rnd);
    }
  }
}

TEST(EffectBmp, EveryTransitionMatchesThePlainReference) {
  const std::pair<int, int> sizes[] = {{37, 11}, {12, 31}, {64, 64}, {10, 1}, {3, 40}};
  unsigned seed = 10;
  for (auto [w, h] : sizes) {
    for (int kind = 0; kind <= 6; ++kind) {
      for (double k : {0.0, 0.1, 0.2, 0.25, 0.4, 0.5, 0.6, 0.75, 0.8, 0.9, 1.0, 1.3, -0.2}) {
        TbsEffectBmp a = Random(w, h, ++seed);
        const TbsEffectBmp b = Random(w, h, ++seed);
        Ref ra = ToRef(a), rb = ToRef(b);
        a.Morph(TbsMorphKind(kind), b, k);
        RefMorph(kind, ra, rb, k);
        ExpectSame(a, ra, "kind " + std::to_string(kind) + " k " + std::to_string(k) + " size " +
                              std::to_string(w) + "x" + std::to_string(h));
      }
    }
  }
}

TEST(EffectBmp, EveryEffectMatchesThePlainReference) {
  for (auto [w, h] : {std::pair{23, 9}, {1, 1}, {2, 7}, {40, 3}}) {
    for (int e = 0; e <= 5; ++e) {
      TbsEffectBmp a = Random(w, h, unsigned(100 + e));
      Ref r = ToRef(a);
      TbsNoiseRandom mine(42), theirs(42);
      a.ApplyInactiveEffect(TbsEffect(e), mine);
      switch (e) {
        case 0:
          for (auto& p : r.P) for (int& v : p) v = N(0.5 * v + 255 * 0.5);
          break;
        case 1:
          for (auto& p : r.P) for (int& v : p) v = N((1 - 0.3) * v);
          break;
        case 2:
          for (auto& p : r.P) {
            const int g = N(0.3 * p[2] + 0.59 * p[1] + 0.11 * p[0]);
            p = {g, g, g};
          }
          break;
        case 3:
          for (auto& p : r.P) {
            const int d = theirs.Below(50) - 25;
            for (int& v : p) v = Clamp(v + d, 0, 255);
          }
          break;
        case 4:
          for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
              const int u = y - 1 < 0 ? y : y - 1, l = y + 1 >= h ? y : y + 1;
              const int pl = x - 1 < 0 ? x : x - 1, q = x + 1 >= w ? x : x + 1;
              for (int c = 0; c < 3; ++c)
                r.at(x, y)[c] = (r.at(pl, u)[c] + r.at(pl, l)[c] + r.at(q, u)[c] + r.at(q, l)[c]) / 4;
            }
          break;
        case 5:
          for (auto& p : r.P) for (int& v : p) v = 255 - v;
          break;
      }
      ExpectSame(a, r, "effect " + std::to_string(e));
    }
  }
}

TEST(EffectBmp, SplitBlurOfEveryAmountMatchesThePlainReference) {
  for (auto [w, h] : {std::pair{23, 9}, {3, 3}, {7, 12}, {1000, 4}}) {
    for (int s : {1, 2, 3, 5, 40}) {
      TbsEffectBmp a = Random(w, h, unsigned(w * 100 + s));
      Ref r = ToRef(a);
      a.SplitBlur(s);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const int u = y - s < 0 ? y : y - s, l = y + s >= h ? y : y + s;
          const int pl = x - s < 0 ? x : x - s, q = x + s >= w ? x : x + s;
          for (int c = 0; c < 3; ++c)
            r.at(x, y)[c] = (r.at(pl, u)[c] + r.at(pl, l)[c] + r.at(q, u)[c] + r.at(q, l)[c]) / 4;
        }
      ExpectSame(a, r, "split blur " + std::to_string(s) + " of " + std::to_string(w) + "x" + std::to_string(h));
    }
  }
}

TEST(EffectBmp, NoiseIsSeededBoundedAndNothingAtZero) {
  TbsEffectBmp a = Filled(50, 20, 128), b = Filled(50, 20, 128);
  TbsNoiseRandom r1(7), r2(7);
  a.Noise(50, r1);
  b.Noise(50, r2);
  EXPECT_TRUE(std::equal(a.Bits(), a.Bits() + a.ByteSize(), b.Bits()));
  int lo = 255, hi = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 50; ++x) {
      const TbsPixel p = a.GetPixel(x, y);
      EXPECT_TRUE(p.R == p.G && p.G == p.B);  // one draw per pixel, all channels alike
      lo = std::min<int>(lo, p.R);
      hi = std::max<int>(hi, p.R);
    }
  EXPECT_EQ(lo, 128 - 25);
  EXPECT_EQ(hi, 128 + 24);
  TbsEffectBmp c = Filled(4, 4, 9);
  c.Noise(0, r1);
  c.SplitBlur(0);
  EXPECT_EQ(c.GetPixel(2, 2).R, 9);
}

TEST(EffectBmp, RoundingGoesToTheEvenNeighbour) {
  EXPECT_EQ(bsRoundHalfEven(0.5), 0);
  EXPECT_EQ(bsRoundHalfEven(1.5), 2);
  EXPECT_EQ(bsRoundHalfEven(2.5), 2);
  EXPECT_EQ(bsRoundHalfEven(127.5), 128);
  EXPECT_EQ(bsRoundHalfEven(-1.5), -2);
  EXPECT_EQ(bsRoundHalfEven(254.49), 254);
}
