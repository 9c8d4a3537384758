#pragma once
// Where a popup menu window goes and how its items are laid out: pure
// geometry over plain rectangles (right and bottom exclusive), no Qt.

#include "skin/bsSkinTypes.h"

#include <span>

struct TbsMenuPlacementInput {
  TbsRect WorkArea;
  TbsRect Anchor;        // screen coordinates; a zero-size rectangle for a point
  int Width = 0, Height = 0;
  bool Submenu = false;
  bool PopupUp = false;
  int ItemsTop = 0;      // top of the items rectangle inside the window
  bool TallScroll = false;  // scrolls because it is taller than the work area
};

struct TbsMenuPlacement {
  int Left = 0, Top = 0;
  bool OverlapsAnchor = false;
};

TbsMenuPlacement bsPlaceMenuWindow(const TbsMenuPlacementInput& in);

// Item layout inside the items rectangle: items from firstVisible one under
// the other, stopping at the first that would end below the bottom; while
// scrolling, 10 pixels at the top and bottom are left for the markers.
// Writes each item's top into tops (-1 for items left out) and returns the
// number placed.
constexpr int kScrollMarkerHeight = 10;
int bsLayoutMenuItems(const TbsRect& itemsRect, bool scrolling, int firstVisible,
                      std::span<const int> heights, std::span<int> tops);

// A window picture of pw x ph with its corner points and items rectangle,
// grown to a window of w x h: the items rectangle grows by the difference.
TbsRect bsMenuItemsRect(const TbsRect& skinItemsRect, int pw, int ph, int w, int h);
