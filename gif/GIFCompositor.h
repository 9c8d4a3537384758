#pragma once
// Composes the full logical-screen picture of a frame, honouring the disposal
// methods, and keeps the last picture so that stepping to the next frame only
// draws that frame.
#include <cstdint>
#include <vector>

#include "gif/GIFImage.h"

namespace rasp {

// 32-bit pixels 0xAARRGGBB, rows top-down. Pixels left transparent carry the
// brush colour with alpha 0, so the picture can also be shown opaque.
struct TGIFComposite {
  int Width = 0, Height = 0;
  std::vector<std::uint32_t> Pixels;

  std::uint32_t At(int x, int y) const { return Pixels[std::size_t(y) * std::size_t(Width) + std::size_t(x)]; }
  friend bool operator==(const TGIFComposite&, const TGIFComposite&) = default;
};

class TGIFCompositor {
 public:
  // The picture of frame `index` (clamped into the frame list). `keyColor`
  // receives the colour the picture is transparent on, or kNoColor.
  // `windowColor` fills the picture when the image offers no better colour.
  const TGIFComposite& ComposeFrame(TGIFImage& image, int index, TColor windowColor, TColor& keyColor);
  // Forgets the cached picture (the image changed).
  void Forget();

  int CachedIndex() const { return FCachedIndex; }

 private:
  const TGIFComposite& Compose(TGIFImage& image, int index, TColor windowColor, TColor& keyColor);
  void DrawFrame(TGIFImage& image, int index);
  void FillRect(const TGIFFrame& frame, const TGIFBitmap& bmp);

  TGIFComposite CachedComposite;
  int FCachedIndex = -1;
  TColor CachedKeyColor = kNoColor;
  std::uint32_t Brush = 0;
};

// The starting frame of a fresh composition of frame `index`: the latest frame
// at or before it after which nothing earlier shows through.
int CompositionStart(const TGIFImage& image, int index);

}  // namespace rasp
