#pragma once
// The frame's four strips composed from the frame picture for a window
// size (ends kept, middles stretched or repeated), and the window region cut
// from the frame mask the same way. QtGui only, no widgets.

#include "skin/bsFrameLayout.h"

#include <QImage>
#include <QRegion>

#include <vector>

class QPainter;
struct TbsSkinContent;

// A horizontal strip `width` pixels wide of the source rows [top, bottom):
// columns left of leftX and from rightX on are kept at the two ends, the
// columns between fill the middle, stretched or repeated from the strip's
// left edge. Null when the strip or its middle is empty.
QImage bsComposeHorizontalStrip(const QImage& source, int top, int bottom, int leftX, int rightX,
                                int width, bool stretch);
// The same upright: source columns [left, right), rows [top, bottom) with the
// ends [top, topY) and [bottomY, bottom), `height` pixels high.
QImage bsComposeVerticalStrip(const QImage& source, int left, int right, int top, int bottom,
                              int topY, int bottomY, int height, bool stretch);

struct TbsFrameStrips {
  QImage Top, Left, Right, Bottom;
};

// The strips of the frame for the layout's window size from a source image
// of FramePicture's size (the active or the inactive picture).
TbsFrameStrips bsComposeFrameStrips(const TbsSkinContent& skin, const QImage& source,
                                    const TbsFrameLayout& layout);
// Draws them at the window's edges: top at (0, 0), left and right below the
// top strip, bottom at the window's bottom.
void bsDrawFrameStrips(QPainter& p, const TbsFrameStrips& strips, const TbsFrameLayout& layout);

// Appends one rectangle per horizontal run of black pixels (red, green and
// blue all 0) of the image, moved by (dx, dy). No limit on the number of runs.
void bsAppendBlackRuns(const QImage& image, int dx, int dy, std::vector<QRect>& runs);
// The window's shape for the layout: the mask rectangle joined with the
// black runs of the mask's four strips. Empty when the skin has no mask.
QRegion bsFrameRegion(const TbsSkinContent& skin, const TbsFrameLayout& layout);
