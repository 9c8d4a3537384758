#include "tools/rasp-crash-dialog/CrashDialogScreenshot.h"

#include "crash/protocol/CrashPng.h"
#include "tools/rasp-crash-dialog/CrashDialogPictures.h"

#include <QCursor>
#include <QPainter>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

namespace rasp {

bool CrashWriteScreenshot(const QString& path) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen)
    return false;
  QImage img = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
  if (img.isNull())
    return false;
  // The copy does not show the pointer; it is drawn where it stands.
  const QPoint at = QCursor::pos(screen) - screen->geometry().topLeft();
  if (img.rect().contains(at)) {
    QPainter p(&img);
    p.drawImage(at, CrashCursorPicture());
  }
  img.convertTo(QImage::Format_RGB888);
  std::string png = CrashPngEncodeRgb(uint32_t(img.width()), uint32_t(img.height()), img.constBits(),
                                      size_t(img.bytesPerLine()));
  return !png.empty() && CrashWriteFile(path.toStdString(), png);
}

} // namespace rasp
