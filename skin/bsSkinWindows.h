#pragma once
// The skin of popup-menu windows (section POPUPWINDOW) and of hint windows
// (section HINTWINDOW). One of each lives as long as its skin data.

#include "skin/bsSkinFields.h"

class TbsDataSkinPopupWindow : public TbsSkinDataEntry {
public:
  TbsDataSkinPopupWindow() : TbsSkinDataEntry("POPUPWINDOW") {}
  int windowpictureindex = -1;
  int maskpictureindex = -1;
  TbsPoint lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
  TbsRect itemsrect;
  TbsColor scrollmarkercolor = 0, scrollmarkeractivecolor = 0;
  bool leftstretch = false, rightstretch = false, topstretch = false, bottomstretch = false;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "popupwindow"; }
};

class TbsDataSkinHintWindow : public TbsSkinDataEntry {
public:
  TbsDataSkinHintWindow() : TbsSkinDataEntry("HINTWINDOW") {}
  int windowpictureindex = -1;
  int maskpictureindex = -1;
  TbsPoint lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
  TbsRect clientrect;
  std::string fontname = "Arial";
  int fontheight = 12;  // 14 once a skin has been read
  TbsFontStyles fontstyle = 0;
  TbsColor fontcolor = 0;
  bool leftstretch = false, rightstretch = false, topstretch = false, bottomstretch = false;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "hintwindow"; }
};
