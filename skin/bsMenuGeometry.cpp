#include "skin/bsMenuGeometry.h"

#include <algorithm>

TbsMenuPlacement bsPlaceMenuWindow(const TbsMenuPlacementInput& in) {
  const TbsRect& wa = in.WorkArea;
  const TbsRect& r = in.Anchor;
  const int h = in.Height, w = in.Width;
  const bool upperHalf = r.Top < wa.Top + wa.Height() / 2;
  TbsMenuPlacement out;
  auto fits = [&](int top) { return top >= wa.Top && top + h <= wa.Bottom; };

  if (in.TallScroll) {
    out.Top = wa.Top;
    out.OverlapsAnchor = true;
  } else if (in.Submenu) {
    const int top = r.Top - in.ItemsTop;
    if (fits(top)) {
      out.Top = top;
    } else if (upperHalf) {
      out.Top = wa.Bottom - h;
    } else {
      out.Top = std::max(r.Bottom + in.ItemsTop - h, wa.Top);
    }
  } else if (in.PopupUp) {
    if (fits(r.Top - h)) {
      out.Top = r.Top - h;
    } else if (upperHalf) {
      if (fits(r.Bottom)) {
        out.Top = r.Bottom;
      } else {
        out.Top = wa.Bottom - h;
        out.OverlapsAnchor = true;
      }
    } else {
      out.Top = wa.Top;
      out.OverlapsAnchor = true;
    }
  } else {
    if (r.Bottom + h <= wa.Bottom) {
      out.Top = r.Bottom;
    } else if (upperHalf) {
      out.Top = wa.Bottom - h;
      out.OverlapsAnchor = true;
    } else if (r.Top - h >= wa.Top) {
      out.Top = r.Top - h;
    } else {
      out.Top = wa.Top;
      out.OverlapsAnchor = true;
    }
  }

  if (!in.Submenu && !out.OverlapsAnchor && !in.TallScroll) {
    out.Left = r.Left;
    if (out.Left + w > wa.Right) out.Left = wa.Right - w;
    if (out.Left < wa.Left) out.Left = wa.Left;
  } else {
    out.Left = r.Right + 1 + w <= wa.Right ? r.Right + 1 : r.Left - w - 1;
  }
  return out;
}

int bsLayoutMenuItems(const TbsRect& itemsRect, bool scrolling, int firstVisible,
                      std::span<const int> heights, std::span<int> tops) {
  const int margin = scrolling ? kScrollMarkerHeight : 0;
  const int bottom = itemsRect.Bottom - margin;
  int y = itemsRect.Top + margin;
  int placed = 0;
  bool stopped = false;
  for (std::size_t i = 0; i < heights.size(); ++i) {
    tops[i] = -1;
    if (int(i) < firstVisible || stopped) continue;
    if (y + heights[i] > bottom) {
      stopped = true;
      continue;
    }
    tops[i] = y;
    y += heights[i];
    ++placed;
  }
  return placed;
}

TbsRect bsMenuItemsRect(const TbsRect& r, int pw, int ph, int w, int h) {
  return TbsRect{r.Left, r.Top, r.Right + (w - pw), r.Bottom + (h - ph)};
}
