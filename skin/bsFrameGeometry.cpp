#include "skin/bsFrameGeometry.h"

#include "skin/bsSkinContent.h"
#include "skin/bsSkinFrameHost.h"

#include <algorithm>

namespace {

bool Inside(const TbsRect& r, TbsPoint p) {
  return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

int ClientCaptionOrFrame(const TbsHitTestInput& in, TbsPoint p, TbsObjectHit hit) {
  if (Inside(in.Layout.ClientRect, p)) return bsHtClient;
  if (hit == TbsObjectHit::Caption) return bsHtCaption;
  return bsHtFrame;
}

}  // namespace

bool bsHitMovesOrSizes(int code) {
  return code == bsHtCaption || (code >= bsHtLeft && code <= bsHtBottomRight);
}

bool bsSkinFrameUsable(const TbsSkinContent& skin, int screenWidth, int screenHeight) {
  const QImage& pic = skin.FramePicture;
  if (pic.isNull()) return false;
  if (screenWidth > 0 && pic.width() > screenWidth) return false;
  if (screenHeight > 0 && pic.height() > screenHeight) return false;
  const TbsRect& c = skin.clientrect;
  if (c.IsEmpty() || c.Left < 0 || c.Top < 0 || c.Right > pic.width() || c.Bottom > pic.height())
    return false;
  return true;
}

TbsMargins bsSkinnedNonClient(const TbsSkinContent& skin) {
  const TbsRect& c = skin.clientrect;
  return TbsMargins{c.Left, c.Top, skin.FramePicture.width() - c.Right,
                    skin.FramePicture.height() - c.Bottom};
}

int bsUnskinnedCaptionHeight(bool toolWindow) { return toolWindow ? 15 : 19; }

TbsMargins bsUnskinnedNonClient(bool toolWindow) {
  return TbsMargins{kUnskinnedBorder, bsUnskinnedCaptionHeight(toolWindow) + kUnskinnedBorder,
                    kUnskinnedBorder, kUnskinnedBorder};
}

TbsSize bsFrameMinSize(const TbsSkinContent* skin, const TbsFrameLimits& limits,
                       const TbsFrameState& state) {
  if (!skin) {
    return TbsSize{limits.MinWidth > 0 ? limits.MinWidth : 120,
                   std::max(bsUnskinnedCaptionHeight(state.ToolWindow) + 6, limits.MinHeight)};
  }
  const int pw = skin->FramePicture.width();
  const int frameHeight = skin->FramePicture.height() - skin->clientrect.Height();
  TbsSize s;
  s.Width = state.Minimized ? pw : std::max(pw, limits.MinWidth);
  s.Height = state.Minimized || state.RolledUp ? frameHeight : std::max(frameHeight, limits.MinHeight);
  return s;
}

TbsSize bsFrameMaxSize(TbsRect area, const TbsFrameLimits& limits) {
  TbsSize s{area.Width(), area.Height()};
  if (limits.MaxWidth > 0) s.Width = std::min(s.Width, limits.MaxWidth);
  if (limits.MaxHeight > 0) s.Height = std::min(s.Height, limits.MaxHeight);
  return s;
}

int bsSkinHitTest(const TbsHitTestInput& in, TbsPoint p) {
  const TbsFrameLayout& l = in.Layout;
  const TbsObjectHit hit = in.ObjectAt ? in.ObjectAt(p) : TbsObjectHit::None;
  if (in.State.RolledUp || in.State.Minimized)
    return hit == TbsObjectHit::Caption ? bsHtCaption : bsHtFrame;
  if (hit == TbsObjectHit::Other && !Inside(l.ClientRect, p) && !in.State.InSizeMove) return bsHtFrame;
  if (in.State.Maximized || !in.State.Sizeable) return ClientCaptionOrFrame(in, p, hit);

  const int bw = in.Skin ? in.Skin->borderwidth : 0;
  const TbsPoint around[4] = {{p.X - bw, p.Y}, {p.X, p.Y - bw}, {p.X + bw, p.Y}, {p.X, p.Y + bw}};
  const TbsRect window{0, 0, l.Width, l.Height};
  bool nearEdge = false;
  if (in.HasRegion && in.InRegion) {
    if (!Inside(l.MaskRect, p)) {
      for (const TbsPoint& q : around)
        if (!in.InRegion(q)) nearEdge = true;
    }
  } else {
    for (const TbsPoint& q : around)
      if (!Inside(window, q)) nearEdge = true;
  }
  if (!nearEdge) return ClientCaptionOrFrame(in, p, hit);

  const TbsPoint lt = l.HitTestLeftTop, rt = l.HitTestRightTop, lb = l.HitTestLeftBottom,
                 rb = l.HitTestRightBottom;
  const TbsRect& c = l.ClientRect;
  if (p.X <= lt.X && p.Y <= lt.Y) return bsHtTopLeft;
  if (p.X >= rt.X && p.Y <= rt.Y) return bsHtTopRight;
  if (p.X <= lb.X && p.Y >= lb.Y) return bsHtBottomLeft;
  if (p.X >= rb.X && p.Y >= rb.Y) return bsHtBottomRight;
  if (p.X > lt.X && p.X < rt.X && p.Y < c.Top) return bsHtTop;
  if (p.X > lb.X && p.X < rb.X && p.Y >= c.Bottom) return bsHtBottom;
  if (p.X < c.Left && p.Y > lt.Y && p.Y < lb.Y) return bsHtLeft;
  if (p.X >= c.Right && p.Y > rt.Y && p.Y < rb.Y) return bsHtRight;
  return ClientCaptionOrFrame(in, p, hit);
}

int bsUnskinnedHitTest(int width, int height, const TbsFrameState& state, TbsPoint p) {
  if (state.Sizeable && !state.Maximized && !state.Minimized && !state.RolledUp) {
    const bool left = p.X <= 2, top = p.Y <= 2, right = p.X >= width - 2, bottom = p.Y >= height - 2;
    if (top && left) return bsHtTopLeft;
    if (top && right) return bsHtTopRight;
    if (bottom && left) return bsHtBottomLeft;
    if (bottom && right) return bsHtBottomRight;
    if (left) return bsHtLeft;
    if (right) return bsHtRight;
    if (top) return bsHtTop;
    if (bottom) return bsHtBottom;
  }
  if (Inside(bsUnskinnedCaptionBar(width, state.ToolWindow), p)) return bsHtCaption;
  const TbsMargins m = bsUnskinnedNonClient(state.ToolWindow);
  if (Inside(TbsRect{m.Left, m.Top, width - m.Right, height - m.Bottom}, p)) return bsHtClient;
  return bsHtFrame;
}

TbsRect bsMaximizedBounds(TbsRect workArea, TbsRect monitor, bool fullScreen) {
  TbsRect r = fullScreen ? monitor : workArea;
  if (r == monitor) r = TbsRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  return r;
}

TbsRect bsUnskinnedCaptionBar(int width, bool toolWindow) {
  return TbsRect{kUnskinnedBorder, kUnskinnedBorder, width - kUnskinnedBorder,
                 kUnskinnedBorder + bsUnskinnedCaptionHeight(toolWindow)};
}

std::vector<TbsUnskinnedButton> bsUnskinnedButtons(int width, const TbsFrameState& state,
                                                   unsigned icons, bool hideCaptionButtons) {
  std::vector<TbsUnskinnedButton> buttons;
  if (hideCaptionButtons) return buttons;
  const TbsRect bar = bsUnskinnedCaptionBar(width, state.ToolWindow);
  const int side = state.ToolWindow ? 13 : 17;
  const int top = bar.Top + (bar.Height() - side) / 2;
  int right = bar.Right;
  auto add = [&](const char* name, TbsCommand command) {
    buttons.push_back({name, command, TbsRect{right - side, top, right, top + side}});
    right -= side;
  };
  add("closebutton", TbsCommand::cmClose);
  if (icons & biMaximize) add("maxbutton", TbsCommand::cmMaximize);
  if (icons & biMinimize) add("minbutton", TbsCommand::cmMinimize);
  if (icons & biRollUp) add("rollupbutton", TbsCommand::cmRollUp);
  if (icons & biMinimizeToTray) add("traybutton", TbsCommand::cmMinimizeToTray);
  if (icons & biSystemMenu)
    buttons.push_back({"sysmenubutton", TbsCommand::cmSysMenu,
                       TbsRect{bar.Left, top, bar.Left + side, top + side}});
  return buttons;
}

TbsRect bsDragBounds(int code, TbsRect s, TbsPoint start, TbsPoint now, TbsSize minSize,
                     TbsSize maxSize) {
  const int dx = now.X - start.X, dy = now.Y - start.Y;
  if (code == bsHtCaption) return TbsRect{s.Left + dx, s.Top + dy, s.Right + dx, s.Bottom + dy};
  const int maxW = maxSize.Width > 0 ? maxSize.Width : 1 << 20;
  const int maxH = maxSize.Height > 0 ? maxSize.Height : 1 << 20;
  auto clampW = [&](int w) { return std::clamp(w, minSize.Width, std::max(minSize.Width, maxW)); };
  auto clampH = [&](int h) { return std::clamp(h, minSize.Height, std::max(minSize.Height, maxH)); };
  TbsRect r = s;
  const bool left = code == bsHtLeft || code == bsHtTopLeft || code == bsHtBottomLeft;
  const bool right = code == bsHtRight || code == bsHtTopRight || code == bsHtBottomRight;
  const bool top = code == bsHtTop || code == bsHtTopLeft || code == bsHtTopRight;
  const bool bottom = code == bsHtBottom || code == bsHtBottomLeft || code == bsHtBottomRight;
  if (left) r.Left = s.Right - clampW(s.Width() - dx);
  if (right) r.Right = s.Left + clampW(s.Width() + dx);
  if (top) r.Top = s.Bottom - clampH(s.Height() - dy);
  if (bottom) r.Bottom = s.Top + clampH(s.Height() + dy);
  return r;
}

TbsRect bsSnapToArea(TbsRect b, TbsRect area, int distance) {
  int dx = 0, dy = 0;
  if (std::abs(b.Left - area.Left) < distance) dx = area.Left - b.Left;
  else if (std::abs(b.Right - area.Right) < distance) dx = area.Right - b.Right;
  if (std::abs(b.Top - area.Top) < distance) dy = area.Top - b.Top;
  else if (std::abs(b.Bottom - area.Bottom) < distance) dy = area.Bottom - b.Bottom;
  return TbsRect{b.Left + dx, b.Top + dy, b.Right + dx, b.Bottom + dy};
}
