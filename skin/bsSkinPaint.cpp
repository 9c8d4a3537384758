#include "skin/bsSkinPaint.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

QRect bsToQRect(const TbsRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

TbsRect bsFromQRect(const QRect& r) {
  return TbsRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QColor bsQColor(TbsColor c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

QFont bsSkinFont(const std::string& name, int height, TbsFontStyles style) {
  QFont f(QString::fromStdString(name));
  f.setPixelSize(std::clamp(std::abs(height), 1, 500));
  f.setBold(style & fsBold);
  f.setItalic(style & fsItalic);
  f.setUnderline(style & fsUnderline);
  f.setStrikeOut(style & fsStrikeOut);
  return f;
}

QString bsEllipsisText(const QString& text, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(text) <= width) return text;
  QString rest = text;
  while (!rest.isEmpty()) {
    rest.chop(1);
    const QString candidate = rest + QStringLiteral("...");
    if (metrics.horizontalAdvance(candidate) <= width) return candidate;
  }
  return QStringLiteral("...");
}

namespace {

// Fills target with source, stretched or repeated from its top-left.
void FillPiece(QPainter& p, const QImage& picture, const QRect& source, const QRect& target, bool stretch,
               bool repeatX, bool repeatY) {
  if (source.width() <= 0 || source.height() <= 0 || target.width() <= 0 || target.height() <= 0) return;
  if (stretch || (!repeatX && !repeatY)) {
    p.drawImage(target, picture, source);
    return;
  }
  const QImage piece = picture.copy(source);
  p.save();
  p.setClipRect(target);
  const int stepX = repeatX ? piece.width() : target.width();
  const int stepY = repeatY ? piece.height() : target.height();
  for (int y = target.top(); y < target.top() + target.height(); y += stepY)
    for (int x = target.left(); x < target.left() + target.width(); x += stepX) {
      if (repeatX && repeatY) p.drawImage(x, y, piece);
      else if (repeatX) p.drawImage(QRect(x, y, piece.width(), target.height()), piece);
      else p.drawImage(QRect(x, y, target.width(), piece.height()), piece);
    }
  p.restore();
}

}  // namespace

QImage bsThreePiece(const QImage& picture, const QRect& source, int left, int right, int width) {
  QImage out(std::max(width, 0), std::max(source.height(), 0), QImage::Format_RGB32);
  if (out.isNull() || source.isEmpty()) return out;
  out.fill(Qt::black);
  const QImage part = picture.copy(source);
  left = std::clamp(left, 0, part.width());
  right = std::clamp(right, 0, part.width() - left);
  QPainter p(&out);
  const int middle = part.width() - left - right;
  if (middle > 0) {
    const QImage mid = part.copy(left, 0, middle, part.height());
    for (int x = left; x < width - right; x += middle) p.drawImage(x, 0, mid);
  }
  p.drawImage(0, 0, part, 0, 0, left, part.height());
  p.drawImage(width - right, 0, part, part.width() - right, 0, right, part.height());
  return out;
}

QImage bsNinePiece(const QImage& picture, const TbsNinePiece& cut, QSize size) {
  QImage out(size, QImage::Format_RGB32);
  if (out.isNull()) return out;
  out.fill(Qt::white);
  if (picture.isNull()) return out;
  const int pw = picture.width(), ph = picture.height();
  const int w = size.width(), h = size.height();
  const int l = std::clamp(cut.LeftTop.X, 0, pw);
  const int t = std::clamp(cut.LeftTop.Y, 0, ph);
  const int r = std::clamp(pw - cut.RightTop.X, 0, pw - l);
  const int b = std::clamp(ph - cut.LeftBottom.Y, 0, ph - t);
  const int mw = pw - l - r, mh = ph - t - b;  // middle of the picture
  const int tw = w - l - r, th = h - t - b;    // middle of the target
  QPainter p(&out);
  // Corners.
  FillPiece(p, picture, QRect(0, 0, l, t), QRect(0, 0, l, t), true, false, false);
  FillPiece(p, picture, QRect(pw - r, 0, r, t), QRect(w - r, 0, r, t), true, false, false);
  FillPiece(p, picture, QRect(0, ph - b, l, b), QRect(0, h - b, l, b), true, false, false);
  FillPiece(p, picture, QRect(pw - r, ph - b, r, b), QRect(w - r, h - b, r, b), true, false, false);
  // Edges and middle.
  FillPiece(p, picture, QRect(l, 0, mw, t), QRect(l, 0, tw, t), cut.TopStretch, true, false);
  FillPiece(p, picture, QRect(l, ph - b, mw, b), QRect(l, h - b, tw, b), cut.BottomStretch, true, false);
  FillPiece(p, picture, QRect(0, t, l, mh), QRect(0, t, l, th), cut.LeftStretch, false, true);
  FillPiece(p, picture, QRect(pw - r, t, r, mh), QRect(w - r, t, r, th), cut.RightStretch, false, true);
  FillPiece(p, picture, QRect(l, t, mw, mh), QRect(l, t, tw, th), false, true, true);
  return out;
}

QRegion bsRegionFromMask(const QImage& mask) {
  QRegion region;
  const QImage m = mask.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < m.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(m.constScanLine(y));
    int x = 0;
    while (x < m.width()) {
      while (x < m.width() && (row[x] & 0xFFFFFF) != 0) ++x;
      const int start = x;
      while (x < m.width() && (row[x] & 0xFFFFFF) == 0) ++x;
      if (x > start) region += QRect(start, y, x - start, 1);
    }
  }
  return region;
}
