#pragma once
// Everything one load of a skin produces: the bitmaps, the frame description
// (FORMINFO), the VERSION strings and the object and control entries.
// A load fills a fresh content and the skin data takes it over only when the
// whole skin has been read.

#include "skin/bsSkinControls.h"
#include "skin/bsSkinObjects.h"
#include "skin/bsSkinWindows.h"

#include <QImage>

#include <memory>
#include <string>
#include <vector>

struct TbsSkinContent {
  TbsSkinContent() = default;
  TbsSkinContent(TbsSkinContent&&) noexcept = default;
  TbsSkinContent& operator=(TbsSkinContent&&) noexcept = default;

  // Whole-window image at its smallest size, the inactive frame image and the
  // shape mask (black pixels belong to the window); each may be null.
  QImage FramePicture;
  QImage InactiveFramePicture;
  QImage FrameMask;
  // Every other picture reference of the skin is an index into this list.
  std::vector<QImage> SkinPictures;

  std::string FramePictureName;
  std::string InactiveFramePictureName;
  std::string FrameMaskName;
  std::vector<std::string> SkinPictureNames;

  std::vector<std::unique_ptr<TbsDataSkinObject>> SkinObjects;
  std::vector<std::unique_ptr<TbsDataSkinControl>> SkinControls;

  // FORMINFO, in FramePicture coordinates.
  TbsPoint lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
  TbsRect clientrect;
  int bgpictureindex = -1;
  int mdibgpictureindex = -1;
  bool leftstretch = false, rightstretch = false, topstretch = false, bottomstretch = false;
  TbsRect maskrectarea;
  TbsPoint hittestlefttoppoint, hittestrighttoppoint, hittestleftbottompoint,
      hittestrightbottompoint;
  TbsRect buttonsrect;
  TbsRect captionrect;
  int buttonsoffset = 0;
  bool buttonsinleft = false;
  bool mainmenupopupup = false;
  int borderwidth = 0;
  bool autorenderinginactiveimage = false;
  TbsEffect inactiveeffect = TbsEffect::ieBrightness;

  // VERSION, for display only.
  std::string skinname, skinauthor, authoremail, authorurl, skincomments;

  // The active picture of an index, or nullptr when the index names none.
  const QImage* ActivePicture(int index) const {
    return index >= 0 && index < int(SkinPictures.size()) ? &SkinPictures[std::size_t(index)]
                                                          : nullptr;
  }
};

// A complete skin as read from one package: the content plus the popup and
// hint window data that the skin data copies into its long-lived instances.
struct TbsLoadedSkin {
  TbsSkinContent Content;
  TbsDataSkinPopupWindow PopupWindow;
  TbsDataSkinHintWindow HintWindow;
};
