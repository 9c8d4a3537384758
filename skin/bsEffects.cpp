#include "skin/bsEffects.h"

#include <algorithm>
#include <cstring>

namespace {

inline std::uint8_t Clamp255(double v) {
  const double r = bsRoundHalfEven(v);
  return r <= 0 ? 0 : r >= 255 ? 255 : std::uint8_t(r);
}

inline std::uint8_t ClampInt(int v) { return std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

// pixel := N(w * a + (1 - w) * b) on the three channels.
inline void Blend(std::uint8_t* a, const std::uint8_t* b, double w) {
  for (int c = 0; c < 3; ++c) a[c] = Clamp255(w * a[c] + (1 - w) * b[c]);
}

inline void CopyPixel(std::uint8_t* to, const std::uint8_t* from) { std::memcpy(to, from, 3); }

int Round(double v) { return int(bsRoundHalfEven(v)); }

}  // namespace

std::uint32_t TbsNoiseRandom::Next() {
  // SplitMix64: one multiply-xorshift step per value, good enough for noise.
  std::uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return std::uint32_t((z ^ (z >> 31)) >> 32);
}

int TbsNoiseRandom::Below(int n) {
  return int((std::uint64_t(Next()) * std::uint64_t(n)) >> 32);
}

TbsEffectBmp::TbsEffectBmp(int width, int height)
    : FWidth(std::max(width, 0)), FHeight(std::max(height, 0)),
      FRowBytes(3 * FWidth + FWidth % 4) {
  FHeader.biWidth = FWidth;
  FHeader.biHeight = -FHeight;
  FBits.assign(std::size_t(FRowBytes) * std::size_t(FHeight), 0);
}

TbsPixel TbsEffectBmp::GetPixel(int x, int y) const {
  const std::uint8_t* p = RowAddress(y) + 3 * x;
  return TbsPixel{p[0], p[1], p[2]};
}

void TbsEffectBmp::SetPixel(int x, int y, TbsPixel px) {
  std::uint8_t* p = RowAddress(y) + 3 * x;
  p[0] = px.B;
  p[1] = px.G;
  p[2] = px.R;
}

void TbsEffectBmp::ReadRow(int y, std::span<std::uint8_t> out) const {
  std::memcpy(out.data(), RowAddress(y), std::min<std::size_t>(out.size(), 3 * std::size_t(FWidth)));
}

void TbsEffectBmp::WriteRow(int y, std::span<const std::uint8_t> in) {
  std::memcpy(RowAddress(y), in.data(), std::min<std::size_t>(in.size(), 3 * std::size_t(FWidth)));
}

void TbsEffectBmp::FlipInto(TbsEffectBmp& other) const {
  if (!SameSize(other)) return;
  for (int y = 0; y < FHeight; ++y)
    std::memcpy(other.RowAddress(FHeight - 1 - y), RowAddress(y), 3 * std::size_t(FWidth));
}

void TbsEffectBmp::Morph(TbsMorphKind kind, const TbsEffectBmp& b, double k) {
  switch (kind) {
    case TbsMorphKind::mkDefault: CrossFade(b, k); break;
    case TbsMorphKind::mkGradient: CenterGradient(b, k); break;
    case TbsMorphKind::mkLeftGradient: LeftGradient(b, k); break;
    case TbsMorphKind::mkRightGradient: RightGradient(b, k); break;
    case TbsMorphKind::mkLeftSlide: LeftSlide(b, k); break;
    case TbsMorphKind::mkRightSlide: RightSlide(b, k); break;
    case TbsMorphKind::mkPush: Push(b, k); break;
  }
}

void TbsEffectBmp::CrossFade(const TbsEffectBmp& b, double k) {
  if (!SameSize(b)) return;
  k = std::clamp(k, 0.0, 1.0);
  const double ka = 1 - k;
  // The products are the same doubles whether computed here or per pixel;
  // only the sum and its rounding remain in the loop.
  double ta[256], tb[256];
  for (int v = 0; v < 256; ++v) {
    ta[v] = ka * v;
    tb[v] = k * v;
  }
  constexpr double kMagic = 6755399441055744.0;
  const std::size_t n = 3 * std::size_t(FWidth);
  for (int y = 0; y < FHeight; ++y) {
    std::uint8_t* a = RowAddress(y);
    const std::uint8_t* s = b.RowAddress(y);
    for (std::size_t i = 0; i < n; ++i) {
      // Both products lie in 0..255, so the sum rounds in place and needs no clamp.
      const double r = (ta[a[i]] + tb[s[i]] + kMagic) - kMagic;
      a[i] = std::uint8_t(int(r));
    }
  }
}

void TbsEffectBmp::CenterGradient(const TbsEffectBmp& b, double k) {
  if (!SameSize(b) || FWidth == 0 || FHeight == 0) return;
  if (FWidth >= FHeight) {
    const int a = Round(FWidth * k);
    const int f = (FWidth - a) / 2;
    const int c = a / 2;
    const double e = f == 0 ? 1.0 : 1.0 / f;
    const int m = FWidth / 2;
    const int g = std::max(m - c, 0);
    const int r = std::min(m + c, FWidth - 1);
    for (int y = 0; y < FHeight; ++y) {
      std::uint8_t* row = RowAddress(y);
      const std::uint8_t* src = b.RowAddress(y);
      for (int x = g; x <= r; ++x) CopyPixel(row + 3 * x, src + 3 * x);
      double w = 0;
      for (int x = g; x >= 0; --x) {
        Blend(row + 3 * x, src + 3 * x, w);
        w = std::min(w + e, 1.0);
      }
      w = 0;
      for (int x = r; x < FWidth; ++x) {
        Blend(row + 3 * x, src + 3 * x, w);
        w = std::min(w + e, 1.0);
      }
    }
  } else {
    const int bh = Round(FHeight * k);
    const int f = (FHeight - bh) / 2;
    const int c = bh / 2;
    const double e = f == 0 ? 0.0 : 1.0 / f;
    const int first = std::max(FHeight / 2 - c, 0);
    const int last = std::min(FHeight / 2 + c, FHeight - 1);
    const std::size_t n = 3 * std::size_t(FWidth);
    for (int y = first; y <= last; ++y) std::memcpy(RowAddress(y), b.RowAddress(y), n);
    auto blendRow = [&](int y, double w) {
      std::uint8_t* row = RowAddress(y);
      const std::uint8_t* src = b.RowAddress(y);
      for (std::size_t i = 0; i < n; ++i) row[i] = Clamp255(w * row[i] + (1 - w) * src[i]);
    };
    double w = 0;
    for (int y = first; y >= 0; --y) {
      blendRow(y, w);
      w = std::min(w + e, 1.0);
    }
    w = 0;
    for (int y = last; y < FHeight; ++y) {
      blendRow(y, w);
      w = std::min(w + e, 1.0);
    }
  }
}

void TbsEffectBmp::LeftGradient(const TbsEffectBmp& b, double k) {
  if (!SameSize(b) || FWidth == 0) return;
  const int a = std::min(std::max(Round(FWidth * k), 1), FWidth - 1);
  const double e = a > 0 ? 1.0 / a : 1.0;
  for (int y = 0; y < FHeight; ++y) {
    std::uint8_t* row = RowAddress(y);
    const std::uint8_t* src = b.RowAddress(y);
    double w = 0;
    for (int x = 0; x <= a; ++x) {
      Blend(row + 3 * x, src + 3 * x, w);
      w = std::min(w + e, 1.0);
    }
  }
}

void TbsEffectBmp::RightGradient(const TbsEffectBmp& b, double k) {
  if (!SameSize(b) || FWidth == 0) return;
  const int a = std::clamp(FWidth - Round(FWidth * k), 0, FWidth - 1);
  const double e = FWidth - a <= 0 ? 1.0 : 1.0 / (FWidth - a);
  for (int y = 0; y < FHeight; ++y) {
    std::uint8_t* row = RowAddress(y);
    const std::uint8_t* src = b.RowAddress(y);
    double w = 0;
    for (int x = FWidth - 1; x >= a; --x) {
      Blend(row + 3 * x, src + 3 * x, w);
      w = std::min(w + e, 1.0);
    }
  }
}

void TbsEffectBmp::LeftSlide(const TbsEffectBmp& b, double k) {
  if (!SameSize(b) || FWidth == 0) return;
  const int n = std::min(std::max(Round(FWidth * k), 1), FWidth - 1);
  for (int y = 0; y < FHeight; ++y) {
    std::uint8_t* row = RowAddress(y);
    const std::uint8_t* src = b.RowAddress(y);
    for (int x = 0; x < n; ++x) CopyPixel(row + 3 * x, src + 3 * std::min(FWidth - n + x, FWidth - 1));
  }
}

void TbsEffectBmp::RightSlide(const TbsEffectBmp& b, double k) {
  if (!SameSize(b) || FWidth == 0) return;
  const int n = std::min(std::max(Round(FWidth * k), 1), FWidth - 1);
  for (int y = 0; y < FHeight; ++y) {
    std::uint8_t* row = RowAddress(y);
    const std::uint8_t* src = b.RowAddress(y);
    std::memcpy(row + 3 * (FWidth - n), src, 3 * std::size_t(n));
  }
}

void TbsEffectBmp::Push(const TbsEffectBmp& b, double k) {
  if (!SameSize(b) || FWidth == 0) return;
  const int a = std::clamp(Round(FWidth * k), 0, FWidth - 1);
  for (int y = 0; y < FHeight; ++y) {
    std::uint8_t* row = RowAddress(y);
    const std::uint8_t* src = b.RowAddress(y);
    // Columns a + 1 .. W - 1 take A's columns 0 .. W - a - 2, column a keeps column 0.
    std::memmove(row + 3 * (a + 1), row, 3 * std::size_t(FWidth - a - 1));
    if (a > 0) CopyPixel(row + 3 * a, row);
    for (int x = 0; x <= a; ++x) CopyPixel(row + 3 * x, src + 3 * std::min(FWidth - a - 1 + x, FWidth - 1));
  }
}

void TbsEffectBmp::ApplyInactiveEffect(TbsEffect effect, TbsNoiseRandom& random) {
  switch (effect) {
    case TbsEffect::ieBrightness: Brightness(0.5); break;
    case TbsEffect::ieDarkness: Darkness(0.3); break;
    case TbsEffect::ieGrayScale: GrayScale(); break;
    case TbsEffect::ieNoise: Noise(50, random); break;
    case TbsEffect::ieSplitBlur: SplitBlur(1); break;
    case TbsEffect::ieInvert: Invert(); break;
  }
}

void TbsEffectBmp::Brightness(double x) {
  x = std::clamp(x, 0.0, 1.0);
  std::uint8_t table[256];
  for (int v = 0; v < 256; ++v) table[v] = Clamp255((1 - x) * v + 255 * x);
  const std::size_t n = 3 * std::size_t(FWidth);
  for (int y = 0; y < FHeight; ++y) {
    std::uint8_t* row = RowAddress(y);
    for (std::size_t i = 0; i < n; ++i) row[i] = table[row[i]];
  }
}

void TbsEffectBmp::Darkness(double x) {
  x = std::clamp(x, 0.0, 1.0);
  std::uint8_t table[256];
  for (int v = 0; v < 256; ++v) table[v] = Clamp255((1 - x) * v);
  const std::size_t n = 3 * std::size_t(FWidth);
  for (int y = 0; y < FHeight; ++y) {
    std::uint8_t* row = RowAddress(y);
    for (std::size_t i = 0; i < n; ++i) row[i] = table[row[i]];
  }
}

void TbsEffectBmp::GrayScale() {
  for (int y = 0; y < FHeight; ++y) {
    std::uint8_t* p = RowAddress(y);
    for (int x = 0; x < FWidth; ++x, p += 3) {
      const std::uint8_t g = Clamp255(0.3 * p[2] + 0.59 * p[1] + 0.11 * p[0]);
      p[0] = p[1] = p[2] = g;
    }
  }
}

void TbsEffectBmp::Noise(int amount, TbsNoiseRandom& random) {
  if (amount <= 0) return;
  for (int y = 0; y < FHeight; ++y) {
    std::uint8_t* p = RowAddress(y);
    for (int x = 0; x < FWidth; ++x, p += 3) {
      const int d = random.Below(amount) - amount / 2;
      for (int c = 0; c < 3; ++c) p[c] = ClampInt(p[c] + d);
    }
  }
}

namespace {

// One row of the blur when the row itself is not among those read, so the
// result can go straight into it.
void BlurRow(std::uint8_t* __restrict out, const std::uint8_t* __restrict up,
             const std::uint8_t* __restrict lo, int width, int s) {
  auto pixel = [&](int x, int p, int q) {
    for (int c = 0; c < 3; ++c)
      out[3 * x + c] = std::uint8_t((up[3 * p + c] + lo[3 * p + c] + up[3 * q + c] + lo[3 * q + c]) >> 2);
  };
  const int inner0 = std::min(s, width), inner1 = std::max(width - s, inner0);
  for (int x = 0; x < inner0; ++x) pixel(x, x, x + s >= width ? x : x + s);
  const int n = 3 * (inner1 - inner0);
  if (n > 0) {  // then inner0 is s
    const std::uint8_t* ul = up;
    const std::uint8_t* ll = lo;
    const std::uint8_t* ur = up + 6 * s;
    const std::uint8_t* lr = lo + 6 * s;
    std::uint8_t* o = out + 3 * s;
    for (int i = 0; i < n; ++i) o[i] = std::uint8_t((ul[i] + ll[i] + ur[i] + lr[i]) >> 2);
  }
  for (int x = inner1; x < width; ++x) pixel(x, x - s < 0 ? x : x - s, x);
}

}  // namespace

void TbsEffectBmp::SplitBlur(int amount) {
  if (amount <= 0 || FWidth == 0 || FHeight == 0) return;
  // In place, top to bottom and left to right: pixels above and to the left
  // are read as already blurred.
  for (int y = 0; y < FHeight; ++y) {
    const int u = y - amount < 0 ? y : y - amount;
    const int l = y + amount >= FHeight ? y : y + amount;
    std::uint8_t* row = RowAddress(y);
    const std::uint8_t* up = RowAddress(u);
    const std::uint8_t* lo = RowAddress(l);
    if (u != y && l != y) {
      BlurRow(row, up, lo, FWidth, amount);
      continue;
    }
    for (int x = 0; x < FWidth; ++x) {
      const int p = 3 * (x - amount < 0 ? x : x - amount);
      const int q = 3 * (x + amount >= FWidth ? x : x + amount);
      for (int c = 0; c < 3; ++c)
        row[3 * x + c] = std::uint8_t((up[p + c] + lo[p + c] + up[q + c] + lo[q + c]) / 4);
    }
  }
}

void TbsEffectBmp::Invert() {
  const std::size_t n = 3 * std::size_t(FWidth);
  for (int y = 0; y < FHeight; ++y) {
    std::uint8_t* row = RowAddress(y);
    for (std::size_t i = 0; i < n; ++i) row[i] = std::uint8_t(255 - row[i]);
  }
}
