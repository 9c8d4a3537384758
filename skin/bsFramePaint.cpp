#include "skin/bsFramePaint.h"

#include "skin/bsSkinContent.h"

#include <QPainter>

#include <algorithm>

namespace {

QImage Blank(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  return img;
}

// Clamps the end points of a piece into [lo, hi] and in order.
void Order(int lo, int hi, int& a, int& b) {
  a = std::clamp(a, lo, hi);
  b = std::clamp(b, a, hi);
}

}  // namespace

QImage bsComposeHorizontalStrip(const QImage& src, int top, int bottom, int leftX, int rightX,
                                int width, bool stretch) {
  const int pw = src.width();
  top = std::clamp(top, 0, src.height());
  bottom = std::clamp(bottom, top, src.height());
  Order(0, pw, leftX, rightX);
  const int h = bottom - top, middle = rightX - leftX, rightEnd = pw - rightX;
  if (width <= 0 || h <= 0 || middle <= 0) return QImage();
  QImage strip = Blank(width, h);
  QPainter p(&strip);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  const QRect mid(leftX, top, middle, h);
  if (stretch) {
    const int newMiddle = width - leftX - rightEnd;
    if (newMiddle > 0) p.drawImage(QRect(leftX, 0, newMiddle, h), src, mid);
  } else {
    for (int x = 0; x < width; x += middle) p.drawImage(QPoint(x, 0), src, mid);
  }
  if (leftX > 0) p.drawImage(QPoint(0, 0), src, QRect(0, top, leftX, h));
  if (rightEnd > 0) p.drawImage(QPoint(width - rightEnd, 0), src, QRect(rightX, top, rightEnd, h));
  return strip;
}

QImage bsComposeVerticalStrip(const QImage& src, int left, int right, int top, int bottom, int topY,
                              int bottomY, int height, bool stretch) {
  left = std::clamp(left, 0, src.width());
  right = std::clamp(right, left, src.width());
  top = std::clamp(top, 0, src.height());
  bottom = std::clamp(bottom, top, src.height());
  Order(top, bottom, topY, bottomY);
  const int w = right - left, topEnd = topY - top, middle = bottomY - topY, bottomEnd = bottom - bottomY;
  if (height <= 0 || w <= 0 || middle <= 0) return QImage();
  QImage strip = Blank(w, height);
  QPainter p(&strip);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  const QRect mid(left, topY, w, middle);
  if (stretch) {
    const int newMiddle = height - topEnd - bottomEnd;
    if (newMiddle > 0) p.drawImage(QRect(0, topEnd, w, newMiddle), src, mid);
  } else {
    for (int y = 0; y < height; y += middle) p.drawImage(QPoint(0, y), src, mid);
  }
  if (topEnd > 0) p.drawImage(QPoint(0, 0), src, QRect(left, top, w, topEnd));
  if (bottomEnd > 0) p.drawImage(QPoint(0, height - bottomEnd), src, QRect(left, bottomY, w, bottomEnd));
  return strip;
}

namespace {

// The strips around an inner rectangle of the picture (the client rectangle
// for the frame, the mask rectangle for the shape).
TbsFrameStrips Compose(const TbsSkinContent& skin, const QImage& src, const TbsRect& inner,
                       const TbsFrameLayout& l, bool stretchTop, bool stretchBottom,
                       bool stretchLeft, bool stretchRight) {
  TbsFrameStrips s;
  const int pw = src.width(), ph = src.height();
  const int topH = inner.Top, bottomH = ph - inner.Bottom;
  const int sideH = l.Height - topH - bottomH;
  s.Top = bsComposeHorizontalStrip(src, 0, inner.Top, skin.lefttoppoint.X, skin.righttoppoint.X,
                                   l.Width, stretchTop);
  s.Bottom = bsComposeHorizontalStrip(src, inner.Bottom, ph, skin.leftbottompoint.X,
                                      skin.rightbottompoint.X, l.Width, stretchBottom);
  s.Left = bsComposeVerticalStrip(src, 0, inner.Left, inner.Top, inner.Bottom, skin.lefttoppoint.Y,
                                  skin.leftbottompoint.Y, sideH, stretchLeft);
  s.Right = bsComposeVerticalStrip(src, inner.Right, pw, inner.Top, inner.Bottom,
                                   skin.righttoppoint.Y, skin.rightbottompoint.Y, sideH, stretchRight);
  return s;
}

}  // namespace

TbsFrameStrips bsComposeFrameStrips(const TbsSkinContent& skin, const QImage& source,
                                    const TbsFrameLayout& layout) {
  return Compose(skin, source, skin.clientrect, layout, skin.topstretch, skin.bottomstretch,
                 skin.leftstretch, skin.rightstretch);
}

void bsDrawFrameStrips(QPainter& p, const TbsFrameStrips& s, const TbsFrameLayout& l) {
  const int topH = s.Top.isNull() ? l.ClientRect.Top : s.Top.height();
  if (!s.Top.isNull()) p.drawImage(QPoint(0, 0), s.Top);
  if (!s.Left.isNull()) p.drawImage(QPoint(0, topH), s.Left);
  if (!s.Right.isNull()) p.drawImage(QPoint(l.Width - s.Right.width(), topH), s.Right);
  if (!s.Bottom.isNull()) p.drawImage(QPoint(0, l.Height - s.Bottom.height()), s.Bottom);
}

void bsAppendBlackRuns(const QImage& image, int dx, int dy, std::vector<QRect>& runs) {
  if (image.isNull()) return;
  const QImage img = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
                         ? image
                         : image.convertToFormat(QImage::Format_RGB32);
  const int w = img.width();
  for (int y = 0; y < img.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    int x = 0;
    while (x < w) {
      while (x < w && (row[x] & 0xFFFFFFu) != 0) ++x;
      const int start = x;
      while (x < w && (row[x] & 0xFFFFFFu) == 0) ++x;
      if (x > start) runs.emplace_back(start + dx, y + dy, x - start, 1);
    }
  }
}

namespace {

QRegion RegionOf(const QImage& strip, int dx, int dy) {
  std::vector<QRect> runs;
  bsAppendBlackRuns(strip, dx, dy, runs);
  QRegion r;
  // The runs come row by row, left to right and never overlap: the order
  // setRects asks for.
  if (!runs.empty()) r.setRects(runs.data(), int(runs.size()));
  return r;
}

}  // namespace

QRegion bsFrameRegion(const TbsSkinContent& skin, const TbsFrameLayout& l) {
  const QImage& mask = skin.FrameMask;
  if (mask.isNull()) return QRegion();
  // A skin without a mask rectangle counts its client rectangle as inside.
  const bool own = !skin.maskrectarea.IsEmpty();
  const TbsRect& m = own ? skin.maskrectarea : skin.clientrect;
  const TbsRect inner = own ? l.MaskRect : l.ClientRect;
  const TbsFrameStrips s = Compose(skin, mask, m, l, false, false, false, false);
  const int topH = m.Top;
  QRegion region;
  if (!inner.IsEmpty()) region = QRegion(inner.Left, inner.Top, inner.Width(), inner.Height());
  region += RegionOf(s.Top, 0, 0);
  region += RegionOf(s.Left, 0, topH);
  if (!s.Right.isNull()) region += RegionOf(s.Right, l.Width - s.Right.width(), topH);
  if (!s.Bottom.isNull()) region += RegionOf(s.Bottom, 0, l.Height - s.Bottom.height());
  return region;
}
