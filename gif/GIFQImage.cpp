#include "gif/GIFQImage.h"

#include <cstring>

namespace rasp {

QImage FrameToQImage(const TGIFBitmap& bitmap, int transparentIndex) {
  QImage img(bitmap.Width, bitmap.Height, QImage::Format_Indexed8);
  if (img.isNull()) return img;
  QList<QRgb> table;
  table.reserve(qsizetype(bitmap.Palette.size()));
  for (std::size_t i = 0; i < bitmap.Palette.size(); ++i) {
    const TRGB& e = bitmap.Palette[i];
    table.push_back(int(i) == transparentIndex ? qRgba(e.r, e.g, e.b, 0) : qRgb(e.r, e.g, e.b));
  }
  // Indices beyond the palette are stored as 0 by the decoder, so 256 entries
  // are never needed beyond what the palette holds.
  img.setColorTable(table);
  for (int y = 0; y < bitmap.Height; ++y)
    std::memcpy(img.scanLine(y), bitmap.Pixels.data() + std::size_t(y) * std::size_t(bitmap.Width),
                std::size_t(bitmap.Width));
  return img;
}

QImage CompositeToQImage(const TGIFComposite& picture, bool opaque) {
  QImage img(picture.Width, picture.Height, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
  if (img.isNull()) return img;
  for (int y = 0; y < picture.Height; ++y) {
    auto* dst = reinterpret_cast<QRgb*>(img.scanLine(y));
    const std::uint32_t* src = picture.Pixels.data() + std::size_t(y) * std::size_t(picture.Width);
    if (opaque) {
      for (int x = 0; x < picture.Width; ++x) dst[x] = src[x] | 0xFF000000u;
    } else {
      std::memcpy(dst, src, std::size_t(picture.Width) * 4);
    }
  }
  return img;
}

QColor ToQColor(TColor c) { return QColor(ColorR(c), ColorG(c), ColorB(c)); }

TColor FromQColor(const QColor& c) {
  return MakeColor(std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue()));
}

}  // namespace rasp
