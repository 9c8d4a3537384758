#include "gif/GIFCompositor.h"

#include <algorithm>
#include <array>

namespace rasp {
namespace {

std::uint32_t Argb(TColor c, std::uint32_t alpha) {
  return (alpha << 24) | (std::uint32_t(ColorR(c)) << 16) | (std::uint32_t(ColorG(c)) << 8) | ColorB(c);
}

bool CoversScreen(const TGIFImage& image, const TGIFFrame& f) {
  const TGIFSize& s = f.Source().PixelSize;
  return f.Origin.X == 0 && f.Origin.Y == 0 && s.Width >= image.LogicalWidth && s.Height >= image.LogicalHeight;
}

}  // namespace

int CompositionStart(const TGIFImage& image, int index) {
  for (int i = index; i >= 1; --i) {
    const TGIFFrame& f = image.Frame(i);
    if (!CoversScreen(image, f)) continue;
    // An opaque frame hides everything before it, unless it is later restored
    // to what was there before (disposal 3 and up).
    if (f.KeyColor == kNoColor && (i == index || f.Disposal < 3)) return i;
    // A frame cleared to the background leaves only the background behind.
    if (f.Disposal == 2 && i < index) return i;
  }
  return 0;
}

void TGIFCompositor::Forget() {
  CachedComposite = {};
  FCachedIndex = -1;
  CachedKeyColor = kNoColor;
}

void TGIFCompositor::FillRect(const TGIFFrame& frame, const TGIFBitmap& bmp) {
  TGIFComposite& pic = CachedComposite;
  const int x0 = std::min(pic.Width, frame.Origin.X);
  const int x1 = std::min(pic.Width, frame.Origin.X + bmp.Width);
  const int y1 = std::min(pic.Height, frame.Origin.Y + bmp.Height);
  if (x1 <= x0) return;
  for (int y = frame.Origin.Y; y < y1; ++y)
    std::fill(pic.Pixels.begin() + std::ptrdiff_t(y) * pic.Width + x0,
              pic.Pixels.begin() + std::ptrdiff_t(y) * pic.Width + x1, Brush);
}

void TGIFCompositor::DrawFrame(TGIFImage& image, int index) {
  const TGIFBitmap& bmp = image.FrameBitmap(index);
  const TGIFFrame& frame = image.Frame(index);
  std::array<std::uint32_t, 256> lut{};
  for (std::size_t i = 0; i < bmp.Palette.size(); ++i) {
    const TRGB& e = bmp.Palette[i];
    lut[i] = 0xFF000000u | (std::uint32_t(e.r) << 16) | (std::uint32_t(e.g) << 8) | e.b;
  }
  // Transparency goes by palette index, so an opaque pixel that merely shares
  // the key colour stays opaque.
  const int key = frame.KeyColor != kNoColor ? frame.TransparentIndex : -1;
  TGIFComposite& pic = CachedComposite;
  const int w = std::min(bmp.Width, pic.Width - frame.Origin.X);
  const int h = std::min(bmp.Height, pic.Height - frame.Origin.Y);
  // A frame wholly off the screen (or a screen of width or height 0) draws
  // nothing; the row pointers below must not even be formed.
  if (w <= 0 || h <= 0) return;
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* src = bmp.Pixels.data() + std::size_t(y) * std::size_t(bmp.Width);
    std::uint32_t* dst = pic.Pixels.data() + std::size_t(frame.Origin.Y + y) * std::size_t(pic.Width) +
                         std::size_t(frame.Origin.X);
    if (key < 0) {
      for (int x = 0; x < w; ++x) dst[x] = lut[src[x]];
    } else {
      for (int x = 0; x < w; ++x)
        if (src[x] != key) dst[x] = lut[src[x]];
    }
  }
}

const TGIFComposite& TGIFCompositor::ComposeFrame(TGIFImage& image, int index, TColor windowColor,
                                                  TColor& keyColor) {
  try {
    return Compose(image, index, windowColor, keyColor);
  } catch (...) {
    // A frame that cannot be decoded leaves no half-drawn picture behind.
    Forget();
    throw;
  }
}

const TGIFComposite& TGIFCompositor::Compose(TGIFImage& image, int index, TColor windowColor,
                                             TColor& keyColor) {
  if (image.Count() == 0) {
    Forget();
    keyColor = kNoColor;
    return CachedComposite;
  }
  const int n = std::clamp(index, 0, image.Count() - 1);

  if (FCachedIndex >= 0 && n == FCachedIndex + 1 && image.Frame(FCachedIndex).Disposal < 3) {
    const TGIFFrame& prev = image.Frame(FCachedIndex);
    if (prev.Disposal == 2) FillRect(prev, image.FrameBitmap(FCachedIndex));
    keyColor = CachedKeyColor;
  } else {
    TColor fill;
    keyColor = kNoColor;
    const bool activeValid = image.ActiveFrame >= 0 && image.ActiveFrame < image.Count();
    if (activeValid && image.Frame(image.ActiveFrame).KeyColor != kNoColor) {
      fill = keyColor = image.Frame(image.ActiveFrame).KeyColor;
    } else if (image.BackdropColor != kNoColor && image.IsTransparent()) {
      fill = image.BackdropColor;
    } else {
      fill = windowColor;
    }
    Brush = Argb(fill, keyColor != kNoColor ? 0 : 255);
    CachedComposite.Width = image.LogicalWidth;
    CachedComposite.Height = image.LogicalHeight;
    CachedComposite.Pixels.assign(std::size_t(image.LogicalWidth) * std::size_t(image.LogicalHeight), Brush);

    const int s = CompositionStart(image, n);
    for (int i = s; i < n; ++i) {
      const int d = image.Frame(i).Disposal;
      if (d <= 1)
        DrawFrame(image, i);
      else if (d == 2 && i > s)
        FillRect(image.Frame(i), image.FrameBitmap(i));
    }
  }
  DrawFrame(image, n);
  FCachedIndex = n;
  CachedKeyColor = keyColor;
  return CachedComposite;
}

}  // namespace rasp
