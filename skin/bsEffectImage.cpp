#include "skin/bsEffectImage.h"

#include <QPainter>

#include <cstring>

QImage bsEffectBmpView(TbsEffectBmp& bmp) {
  return QImage(bmp.Bits(), bmp.Width(), bmp.Height(), bmp.RowBytes(), QImage::Format_BGR888);
}

QImage bsEffectBmpView(const TbsEffectBmp& bmp) {
  return QImage(bmp.Bits(), bmp.Width(), bmp.Height(), bmp.RowBytes(), QImage::Format_BGR888);
}

TbsEffectBmp bsEffectBmpFromImage(const QImage& image, QRect source) {
  if (source.isNull()) source = image.rect();
  TbsEffectBmp bmp(source.width(), source.height());
  const QRect inside = source.intersected(image.rect());
  if (inside.isEmpty()) return bmp;
  const QImage part = image.copy(inside).convertToFormat(QImage::Format_BGR888);
  const int dx = inside.left() - source.left(), dy = inside.top() - source.top();
  for (int y = 0; y < part.height(); ++y)
    std::memcpy(bmp.RowAddress(y + dy) + 3 * dx, part.constScanLine(y), 3 * std::size_t(part.width()));
  return bmp;
}

void bsDrawEffectBmp(QPainter& painter, int x, int y, const TbsEffectBmp& bmp) {
  painter.drawImage(x, y, bsEffectBmpView(bmp));
}
