#include "tools/rasp-crash-dialog/CrashDialogGeometry.h"

#include <QSettings>

namespace rasp {

void TCrashDialogGeometry::Load(const QString& path) {
  if (path.isEmpty())
    return;
  QSettings s(path, QSettings::IniFormat);
  s.beginGroup("Coordinates");
  auto get = [&](const char* key, int def) {
    bool ok = false;
    int v = s.value(key, def).toInt(&ok);
    return ok ? v : def;
  };
  Width = get("Width", Width);
  Height = get("Height", Height);
  Left = get("Left", Left);
  Top = get("Top", Top);
  WindowsState = get("WindowsState", WindowsState);
  ColStored = s.contains("Col0");
  ColModStored = s.contains("ColMod0");
  for (int i = 0; i < 6; ++i) {
    Col[i] = get(qPrintable(QString("Col%1").arg(i)), Col[i]);
    ColMod[i] = get(qPrintable(QString("ColMod%1").arg(i)), ColMod[i]);
  }
}

void TCrashDialogGeometry::Save(const QString& path) const {
  if (path.isEmpty())
    return;
  QSettings s(path, QSettings::IniFormat);
  s.beginGroup("Coordinates");
  s.setValue("Width", Width);
  s.setValue("Height", Height);
  s.setValue("Left", Left);
  s.setValue("Top", Top);
  s.setValue("WindowsState", WindowsState);
  // Column widths only once they are the user's; until then each report
  // fits its columns to its own rows.
  for (int i = 0; i < 6; ++i) {
    if (ColStored)
      s.setValue(QString("Col%1").arg(i), Col[i]);
    if (ColModStored)
      s.setValue(QString("ColMod%1").arg(i), ColMod[i]);
  }
  s.endGroup();
  s.sync();
}

QRect TCrashDialogGeometry::Placed(const QRect& screen) const {
  int w = qBound(200, Width, qMax(200, screen.width()));
  int h = qBound(150, Height, qMax(150, screen.height()));
  int x = Left < 0 && Top < 0 ? screen.x() + (screen.width() - w) / 2 : Left;
  int y = Left < 0 && Top < 0 ? screen.y() + (screen.height() - h) / 2 : Top;
  x = qMax(0, qMin(x, screen.right() + 1 - w));
  y = qMax(0, qMin(y, screen.bottom() + 1 - h));
  return QRect(x, y, w, h);
}

} // namespace rasp
