#pragma once
// Where the frame's parts lie for a window of a given size: the skin's
// FORMINFO points and rectangles, drawn for FramePicture's size, moved and
// grown by the amount the window differs from it. Pure geometry, no Qt.

#include "skin/bsSkinTypes.h"

struct TbsSkinContent;

struct TbsFrameLayout {
  int Width = 0, Height = 0;  // the window
  int DX = 0, DY = 0;         // window size minus FramePicture size
  int PictureWidth = 0, PictureHeight = 0;
  TbsPoint LeftTop, RightTop, LeftBottom, RightBottom;
  TbsRect ClientRect;
  TbsRect CaptionRect;
  TbsRect ButtonsRect;
  int ButtonsOffset = 0;
  bool ButtonsInLeft = false;
  TbsPoint HitTestLeftTop, HitTestRightTop, HitTestLeftBottom, HitTestRightBottom;
  TbsRect MaskRect;
};

TbsFrameLayout bsComputeFrameLayout(const TbsSkinContent& skin, int width, int height);

// Moves a rectangle of FramePicture to the window: by the corner region it
// lies in, or stretched when it spans regions (caption objects drawn from the
// frame picture are anchored this way).
TbsRect bsAnchorToFrame(const TbsSkinContent& skin, const TbsFrameLayout& layout, TbsRect r);
