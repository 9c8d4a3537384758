#pragma once
// TbsEffectBmp: a 24-bit top-down pixel buffer (blue, green, red per pixel,
// rows padded to four bytes) with the morph transitions that blend a normal
// image into its hover image and the effects that make a frame look
// inactive. No Qt here; bsEffectImage.h hands buffers to and from QImage.
//
// Rounding: every blended channel is taken to the nearest integer with
// halves going to the even neighbour, then clamped to 0..255.

#include "skin/bsSkinTypes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The header that describes a buffer to the platform's bitmap functions.
struct TbsBitmapInfoHeader {
  std::uint32_t biSize = 40;
  std::int32_t biWidth = 0;
  std::int32_t biHeight = 0;  // negative: rows run top-down
  std::uint16_t biPlanes = 1;
  std::uint16_t biBitCount = 24;
  std::uint32_t biCompression = 0;
};

struct TbsPixel {
  std::uint8_t B = 0, G = 0, R = 0;
  bool operator==(const TbsPixel&) const = default;
};

// The noise effect's pseudo-random source: small, fast and seedable, so a
// test can predict every value.
class TbsNoiseRandom {
public:
  explicit TbsNoiseRandom(std::uint64_t seed = 0x9E3779B97F4A7C15ull) : FState(seed) {}
  std::uint32_t Next();
  // Uniform in 0..n-1; n must be positive.
  int Below(int n);

private:
  std::uint64_t FState;
};

class TbsEffectBmp {
public:
  // A black buffer; negative sizes count as 0.
  TbsEffectBmp(int width, int height);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // 3 x width + width mod 4: the smallest multiple of four holding a row.
  int RowBytes() const { return FRowBytes; }
  std::size_t ByteSize() const { return FBits.size(); }
  const TbsBitmapInfoHeader& InfoHeader() const { return FHeader; }
  std::uint8_t* Bits() { return FBits.data(); }
  const std::uint8_t* Bits() const { return FBits.data(); }

  TbsPixel GetPixel(int x, int y) const;
  void SetPixel(int x, int y, TbsPixel p);
  std::uint8_t* RowAddress(int y) { return FBits.data() + std::size_t(y) * std::size_t(FRowBytes); }
  const std::uint8_t* RowAddress(int y) const {
    return FBits.data() + std::size_t(y) * std::size_t(FRowBytes);
  }
  // Whole rows of 3 x width bytes.
  void ReadRow(int y, std::span<std::uint8_t> out) const;
  void WriteRow(int y, std::span<const std::uint8_t> in);
  // Copies this buffer into another of the same size with the rows reversed;
  // nothing happens when the sizes differ.
  void FlipInto(TbsEffectBmp& other) const;

  bool SameSize(const TbsEffectBmp& b) const { return FWidth == b.FWidth && FHeight == b.FHeight; }

  // Transitions towards b with morph factor k; each leaves this buffer alone
  // when b has another size.
  void Morph(TbsMorphKind kind, const TbsEffectBmp& b, double k);
  void CrossFade(const TbsEffectBmp& b, double k);
  void CenterGradient(const TbsEffectBmp& b, double k);
  void LeftGradient(const TbsEffectBmp& b, double k);
  void RightGradient(const TbsEffectBmp& b, double k);
  void LeftSlide(const TbsEffectBmp& b, double k);
  void RightSlide(const TbsEffectBmp& b, double k);
  void Push(const TbsEffectBmp& b, double k);

  // The inactive look with the amounts the window frame uses.
  void ApplyInactiveEffect(TbsEffect effect, TbsNoiseRandom& random);
  void Brightness(double x);
  void Darkness(double x);
  void GrayScale();
  void Noise(int amount, TbsNoiseRandom& random);
  void SplitBlur(int amount);
  void Invert();

private:
  int FWidth;
  int FHeight;
  int FRowBytes;
  TbsBitmapInfoHeader FHeader;
  std::vector<std::uint8_t> FBits;
};

// x to the nearest integer, halves to the even neighbour (|x| < 2^51).
inline double bsRoundHalfEven(double x) {
  constexpr double kMagic = 6755399441055744.0;  // 1.5 * 2^52
  return x >= 0 ? (x + kMagic) - kMagic : -((-x + kMagic) - kMagic);
}
