#pragma once
// The geometry file "Crashwise.ini" (section "Coordinates"): size,
// position and state of the expanded exception dialog and the column widths
// of its two lists. Read and write failures leave the defaults.
#include <QRect>
#include <QString>
#include <array>

namespace rasp {

struct TCrashDialogGeometry {
  int Width = 640, Height = 385;
  int Left = -1, Top = -1;  // -1: centred on the screen
  int WindowsState = 1;     // 1 normal, 3 maximised, 6 minimised
  std::array<int, 6> Col{80, 102, 105, 118, 137, 48};
  std::array<int, 6> ColMod{80, 100, 130, 65, 65, 150};
  // Whether the widths are the user's (the file held them, or they were
  // dragged): only then are they kept and written back.
  bool ColStored = false, ColModStored = false;

  void Load(const QString& path);
  void Save(const QString& path) const;
  // The rectangle on this screen: centred where unset, kept on the screen.
  QRect Placed(const QRect& screen) const;
};

} // namespace rasp
