#pragma once
// The frame's built-in system menu, filled afresh each time it opens. Each
// action carries its caption-button command in data() and its item name
// ("BSF_CLOSE" ...) as object name, which the skinned menu draws a glyph for.

#include "skin/bsSkinFrameHost.h"
#include "skin/bsSkinTypes.h"

class QMenu;
class TbsResourceStrData;

// data() of the restore item, which has no caption-button command of its own.
constexpr int kSystemMenuRestore = 100;

struct TbsSystemMenuState {
  TbsBorderIcons BorderIcons = biSystemMenu | biMinimize | biMaximize | biRollUp;
  bool Maximized = false;
  bool Minimized = false;
  bool RolledUp = false;
  bool MDIChild = false;
};

// Removes the menu's standard items (those named "BSF_...") and adds them
// again for the state, in the order minimise, maximise, restore, roll-up,
// minimise to tray, separator, close. A user's own items stay first.
void bsFillSystemMenu(QMenu& menu, const TbsSystemMenuState& state, TbsResourceStrData* texts = nullptr);
