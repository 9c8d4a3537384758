#include "tools/skingen/SkinArt.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>

QColor Mix(const QColor& a, const QColor& b, qreal t) {
  return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                          a.greenF() + (b.greenF() - a.greenF()) * t,
                          a.blueF() + (b.blueF() - a.blueF()) * t);
}

QImage Canvas(int width, int height, const QColor& fill) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

void FillGradient(QPainter& p, const QRect& r, const QColor& top, const QColor& bottom) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  p.fillRect(r, g);
}

void RoundedBox(QPainter& p, const QRect& r, qreal radius, const QColor& top,
                const QColor& bottom, const QColor& border) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  const QRectF outer = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
  QPainterPath path;
  path.addRoundedRect(outer, radius, radius);
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  p.fillPath(path, g);
  QPen pen(border, 1.0);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  p.restore();
}

void DrawGlyph(QPainter& p, const QRect& box, TGlyph glyph, const QColor& color,
               const QColor& accent) {
  p.save();
  const QPointF c = QRectF(box).center();
  const qreal cx = std::floor(c.x()) + 0.5;
  const qreal cy = std::floor(c.y()) + 0.5;
  QPen pen(color, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  switch (glyph) {
    case TGlyph::Close: {
      p.setRenderHint(QPainter::Antialiasing, true);
      pen.setWidthF(1.3);
      pen.setCapStyle(Qt::RoundCap);
      p.setPen(pen);
      p.drawLine(QPointF(cx - 4.5, cy - 4.5), QPointF(cx + 4.5, cy + 4.5));
      p.drawLine(QPointF(cx + 4.5, cy - 4.5), QPointF(cx - 4.5, cy + 4.5));
      break;
    }
    case TGlyph::Maximize:
      p.drawRect(QRectF(cx - 5, cy - 5, 10, 10));
      p.drawLine(QPointF(cx - 5, cy - 4), QPointF(cx + 5, cy - 4));
      break;
    case TGlyph::Restore:
      p.drawRect(QRectF(cx - 5, cy - 2, 7, 7));
      p.drawLine(QPointF(cx - 5, cy - 1), QPointF(cx + 2, cy - 1));
      p.drawPolyline(QPolygonF({QPointF(cx - 2, cy - 2), QPointF(cx - 2, cy - 5),
                                QPointF(cx + 5, cy - 5), QPointF(cx + 5, cy + 2),
                                QPointF(cx + 2, cy + 2)}));
      break;
    case TGlyph::Minimize:
      p.drawLine(QPointF(cx - 5, cy + 1), QPointF(cx + 5, cy + 1));
      p.drawLine(QPointF(cx - 5, cy + 2), QPointF(cx + 5, cy + 2));
      break;
    case TGlyph::RollUp:
    case TGlyph::RollDown: {
      p.setRenderHint(QPainter::Antialiasing, true);
      pen.setWidthF(1.3);
      pen.setCapStyle(Qt::RoundCap);
      pen.setJoinStyle(Qt::RoundJoin);
      p.setPen(pen);
      const qreal d = glyph == TGlyph::RollUp ? -1 : 1;
      p.drawPolyline(QPolygonF({QPointF(cx - 4.5, cy - 2 * d), QPointF(cx, cy + 2.5 * d),
                                QPointF(cx + 4.5, cy - 2 * d)}));
      break;
    }
    case TGlyph::Tray:
      p.drawLine(QPointF(cx - 5, cy + 4), QPointF(cx + 5, cy + 4));
      p.drawLine(QPointF(cx, cy - 5), QPointF(cx, cy + 1));
      p.setRenderHint(QPainter::Antialiasing, true);
      p.drawPolyline(QPolygonF({QPointF(cx - 3, cy - 1.5), QPointF(cx, cy + 1.5),
                                QPointF(cx + 3, cy - 1.5)}));
      break;
    case TGlyph::App: {
      // Our mark: two overlapping pages, the front one in the accent colour
      // with the lines it shares with the back one.
      p.setRenderHint(QPainter::Antialiasing, true);
      QPainterPath back;
      back.addRoundedRect(QRectF(cx - 6.5, cy - 6.5, 9, 11), 1.5, 1.5);
      p.fillPath(back, Mix(color, QColor(Qt::white), 0.55));
      p.setPen(QPen(color, 1.0));
      p.drawPath(back);
      QPainterPath front;
      front.addRoundedRect(QRectF(cx - 2.5, cy - 3.5, 9, 11), 1.5, 1.5);
      p.fillPath(front, accent);
      p.setPen(QPen(accent.darker(130), 1.0));
      p.drawPath(front);
      p.setRenderHint(QPainter::Antialiasing, false);
      p.setPen(QPen(QColor(255, 255, 255, 230), 1.0));
      for (int i = 0; i < 3; ++i) {
        const qreal y = cy - 0.5 + i * 2.5;
        p.drawLine(QPointF(cx - 0.5, std::floor(y) + 0.5), QPointF(cx + (i == 2 ? 2.5 : 4.5),
                                                                 std::floor(y) + 0.5));
      }
      break;
    }
  }
  p.restore();
}

void DrawArrow(QPainter& p, const QRect& box, TArrow direction, const QColor& color) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  const QPointF c = QRectF(box).center();
  QPolygonF tri;
  const qreal w = 3.5, h = 2.0;
  switch (direction) {
    case TArrow::Up: tri << QPointF(c.x() - w, c.y() + h) << QPointF(c.x() + w, c.y() + h)
                         << QPointF(c.x(), c.y() - h); break;
    case TArrow::Down: tri << QPointF(c.x() - w, c.y() - h) << QPointF(c.x() + w, c.y() - h)
                           << QPointF(c.x(), c.y() + h); break;
    case TArrow::Left: tri << QPointF(c.x() + h, c.y() - w) << QPointF(c.x() + h, c.y() + w)
                           << QPointF(c.x() - h, c.y()); break;
    case TArrow::Right: tri << QPointF(c.x() - h, c.y() - w) << QPointF(c.x() - h, c.y() + w)
                            << QPointF(c.x() + h, c.y()); break;
  }
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawPolygon(tri);
  p.restore();
}
