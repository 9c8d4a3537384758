#pragma once
// The frame's non-client geometry as pure functions of the skin, the window
// size, the frame's state and a point: non-client sizes, size limits, the
// hit-test table, the unskinned frame's metrics and the maximised bounds.
// No Qt Widgets, so it is tested without a window.

#include "skin/bsFrameLayout.h"
#include "skin/bsSkinTypes.h"

#include <functional>
#include <string>
#include <vector>

struct TbsSkinContent;

struct TbsSize {
  int Width = 0, Height = 0;
  bool operator==(const TbsSize&) const = default;
};

// The platform's hit-test codes.
enum TbsHitCode : int {
  bsHtClient = 1,
  bsHtCaption = 2,
  bsHtLeft = 10,
  bsHtRight = 11,
  bsHtTop = 12,
  bsHtTopLeft = 13,
  bsHtTopRight = 14,
  bsHtBottom = 15,
  bsHtBottomLeft = 16,
  bsHtBottomRight = 17,
  bsHtFrame = 19,  // handled by the frame itself
};

// True for the codes that move (2) or size (10..17) the window.
bool bsHitMovesOrSizes(int code);

struct TbsMargins {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TbsMargins&) const = default;
};

struct TbsFrameState {
  bool Maximized = false;
  bool Minimized = false;
  bool RolledUp = false;
  bool Sizeable = true;
  bool ToolWindow = false;
  bool InSizeMove = false;
};

// A skin the frame can be drawn from: a frame picture no larger than the
// screen and a client rectangle that is neither empty nor inverted and lies
// inside the picture. Anything else gets the unskinned frame.
bool bsSkinFrameUsable(const TbsSkinContent& skin, int screenWidth, int screenHeight);

TbsMargins bsSkinnedNonClient(const TbsSkinContent& skin);
constexpr int kUnskinnedBorder = 3;
int bsUnskinnedCaptionHeight(bool toolWindow);
TbsMargins bsUnskinnedNonClient(bool toolWindow);

struct TbsFrameLimits {
  int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;  // 0: none of the form's own
};

// The smallest window: skin is null for the unskinned frame.
TbsSize bsFrameMinSize(const TbsSkinContent* skin, const TbsFrameLimits& limits,
                       const TbsFrameState& state);
// The largest window: the work area (or monitor) limited by the form's own maxima.
TbsSize bsFrameMaxSize(TbsRect area, const TbsFrameLimits& limits);

// What lies under a point among the frame's objects.
enum class TbsObjectHit { None, Caption, Other };

struct TbsHitTestInput {
  const TbsSkinContent* Skin = nullptr;
  TbsFrameLayout Layout;
  TbsFrameState State;
  // Whether the window has a region (a mask) and whether a point lies in it.
  bool HasRegion = false;
  std::function<bool(TbsPoint)> InRegion;
  std::function<TbsObjectHit(TbsPoint)> ObjectAt;
};

int bsSkinHitTest(const TbsHitTestInput& in, TbsPoint p);
int bsUnskinnedHitTest(int width, int height, const TbsFrameState& state, TbsPoint p);

// Where a maximised window goes: the work area, or the whole monitor; when
// that is the whole screen, one pixel stays free on every side so that a
// hidden task bar can still be reached.
TbsRect bsMaximizedBounds(TbsRect workArea, TbsRect monitor, bool fullScreen);

// The unskinned caption bar's buttons, squares from the bar's right end in
// the order close, maximise, minimise, roll-up, minimise-to-tray, and the
// system-menu button at its left end.
struct TbsUnskinnedButton {
  std::string Name;  // "closebutton" ...
  TbsCommand Command;
  TbsRect Rect;
};
std::vector<TbsUnskinnedButton> bsUnskinnedButtons(int width, const TbsFrameState& state,
                                                   unsigned borderIcons, bool hideCaptionButtons);
// The caption bar of the unskinned frame.
TbsRect bsUnskinnedCaptionBar(int width, bool toolWindow);

// A new window rectangle for a drag that started at startBounds with the
// mouse at start, now at now: moved (code 2) or sized by the edges of code,
// kept inside minSize..maxSize with the opposite edges fixed.
TbsRect bsDragBounds(int code, TbsRect startBounds, TbsPoint start, TbsPoint now, TbsSize minSize,
                     TbsSize maxSize);
// Snaps a moved window's edges to the work area's when closer than distance.
TbsRect bsSnapToArea(TbsRect bounds, TbsRect area, int distance);
