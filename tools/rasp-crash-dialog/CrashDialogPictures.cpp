#include "tools/rasp-crash-dialog/CrashDialogPictures.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>

namespace rasp {

QPixmap CrashMonitorPicture() {
  QImage img(32, 32, QImage::Format_RGB32);
  const QColor key(255, 0, 255);
  img.fill(key);
  QPainter p(&img);
  p.setPen(QColor(64, 64, 64));
  p.setBrush(QColor(200, 200, 200));
  p.drawRect(2, 2, 27, 20);             // case
  p.setBrush(QColor(0, 0, 128));
  p.drawRect(5, 5, 21, 14);             // screen
  p.setPen(QPen(QColor(255, 255, 255), 2));
  p.drawLine(12, 8, 19, 15);            // the cross of an error
  p.drawLine(19, 8, 12, 15);
  p.setPen(QColor(64, 64, 64));
  p.setBrush(QColor(170, 170, 170));
  p.drawRect(12, 23, 7, 3);             // neck
  p.drawRect(6, 26, 19, 3);             // foot
  p.end();
  QPixmap pm = QPixmap::fromImage(img);
  pm.setMask(QBitmap::fromImage(img.createMaskFromColor(img.pixel(0, 31), Qt::MaskInColor)));
  return pm;
}

QPixmap CrashListIcon(const QString& name) {
  QImage img(16, 16, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  QColor body = name == "PAS" ? QColor(255, 255, 255)
              : name == "VCL" ? QColor(90, 140, 220)
              : name == "BPL" ? QColor(230, 180, 60)
                              : QColor(160, 160, 160);
  p.setPen(QColor(60, 60, 60));
  p.setBrush(body);
  if (name == "PAS") {  // a page of source
    p.drawRect(3, 1, 10, 14);
    p.setPen(QColor(0, 0, 160));
    for (int y = 4; y < 14; y += 3)
      p.drawLine(5, y, 11, y);
  } else if (name == "VCL") {  // a program window
    p.drawRect(1, 2, 14, 12);
    p.fillRect(2, 3, 13, 3, QColor(0, 0, 128));
  } else if (name == "BPL") {  // a package
    p.drawRect(2, 5, 12, 9);
    p.drawLine(2, 5, 5, 2);
    p.drawLine(14, 5, 11, 2);
    p.drawLine(5, 2, 11, 2);
  } else {  // a library: gear-like block
    p.drawRect(3, 3, 10, 10);
    p.setBrush(QColor(90, 90, 90));
    p.drawEllipse(6, 6, 4, 4);
  }
  p.end();
  return QPixmap::fromImage(img);
}

QImage CrashCursorPicture() {
  QImage img(32, 32, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  const QPoint arrow[] = {{0, 0}, {0, 16}, {4, 12}, {7, 19}, {9, 18}, {6, 11}, {11, 11}};
  p.setPen(Qt::white);
  p.setBrush(Qt::black);
  p.drawPolygon(arrow, 7);
  p.end();
  return img;
}

} // namespace rasp
