#include "tools/rasp-crash-dialog/CrashDialogScreenshot.h"

#include "crash/CrashPng.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

namespace rasp {

bool CrashWriteScreenshot(const QString& path) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen)
    return false;
  QImage img = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB888);
  if (img.isNull())
    return false;
  std::string png = CrashPngEncodeRgb(uint32_t(img.width()), uint32_t(img.height()), img.constBits(),
                                      size_t(img.bytesPerLine()));
  return !png.empty() && CrashWriteFile(path.toStdString(), png);
}

} // namespace rasp
