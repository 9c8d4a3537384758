#include "skin/bsFrameLayout.h"

#include "skin/bsSkinContent.h"

namespace {

TbsPoint Move(TbsPoint p, int dx, int dy) { return TbsPoint{p.X + dx, p.Y + dy}; }
TbsRect Grow(TbsRect r, int dx, int dy) { return TbsRect{r.Left, r.Top, r.Right + dx, r.Bottom + dy}; }
TbsRect Offset(TbsRect r, int dx, int dy) {
  return TbsRect{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

}  // namespace

TbsFrameLayout bsComputeFrameLayout(const TbsSkinContent& skin, int width, int height) {
  TbsFrameLayout l;
  l.Width = width;
  l.Height = height;
  l.PictureWidth = skin.FramePicture.width();
  l.PictureHeight = skin.FramePicture.height();
  l.DX = width - l.PictureWidth;
  l.DY = height - l.PictureHeight;
  l.LeftTop = skin.lefttoppoint;
  l.RightTop = Move(skin.righttoppoint, l.DX, 0);
  l.LeftBottom = Move(skin.leftbottompoint, 0, l.DY);
  l.RightBottom = Move(skin.rightbottompoint, l.DX, l.DY);
  l.ClientRect = Grow(skin.clientrect, l.DX, l.DY);
  if (!skin.captionrect.IsEmpty()) l.CaptionRect = Grow(skin.captionrect, l.DX, 0);
  if (!skin.buttonsrect.IsEmpty()) {
    l.ButtonsRect = skin.buttonsrect.Left > l.PictureWidth / 2
                        ? Offset(skin.buttonsrect, l.DX, 0)
                        : skin.buttonsrect;
  }
  l.ButtonsOffset = skin.buttonsoffset;
  l.ButtonsInLeft = skin.buttonsinleft;
  l.HitTestLeftTop = skin.hittestlefttoppoint;
  l.HitTestRightTop = Move(skin.hittestrighttoppoint, l.DX, 0);
  l.HitTestLeftBottom = Move(skin.hittestleftbottompoint, 0, l.DY);
  l.HitTestRightBottom = Move(skin.hittestrightbottompoint, l.DX, l.DY);
  l.MaskRect = Grow(skin.maskrectarea, l.DX, l.DY);
  return l;
}

TbsRect bsAnchorToFrame(const TbsSkinContent& skin, const TbsFrameLayout& l, TbsRect r) {
  const TbsPoint lt = skin.lefttoppoint, rt = skin.righttoppoint, lb = skin.leftbottompoint,
                 rb = skin.rightbottompoint;
  const int dx = l.DX, dy = l.DY;
  // Which region each corner of the rectangle lies in.
  const bool topLeftInLT = r.Left < lt.X && r.Top < lt.Y;
  const bool inLT = r.Right <= lt.X && r.Bottom <= lt.Y;
  const bool inRT = r.Left >= rt.X && r.Bottom <= rt.Y;
  const bool inLB = r.Right <= lb.X && r.Top >= lb.Y;
  const bool inRB = r.Left >= rb.X && r.Top >= rb.Y;
  if (inLT) return r;
  if (inRT) return Offset(r, dx, 0);
  if (inLB) return Offset(r, 0, dy);
  if (inRB) return Offset(r, dx, dy);
  const bool rightInRight = r.Right > rt.X || r.Right > rb.X;
  const bool bottomInBottom = r.Bottom > lb.Y || r.Bottom > rb.Y;
  if (topLeftInLT || (r.Left < lt.X && r.Top < lt.Y)) {
    if (rightInRight && bottomInBottom) return Grow(r, dx, dy);
    if (rightInRight) return Grow(r, dx, 0);
    if (bottomInBottom) return Grow(r, 0, dy);
    return r;
  }
  if (r.Left < lb.X && r.Top >= lt.Y && rightInRight) return Grow(Offset(r, 0, dy), dx, 0);
  if (r.Left >= rt.X && bottomInBottom) return Grow(Offset(r, dx, 0), 0, dy);
  // A rectangle along the top edge between the corners follows the top's growth.
  if (r.Left < rt.X && r.Right > lt.X && r.Bottom <= lt.Y) return Grow(r, rightInRight ? dx : 0, 0);
  return r;
}
