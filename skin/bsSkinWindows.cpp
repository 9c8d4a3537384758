#include "skin/bsSkinWindows.h"

namespace {
void VisitCorners(TbsSkinFieldVisitor& v, TbsPoint& lt, TbsPoint& rt, TbsPoint& lb, TbsPoint& rb) {
  v.Point("lefttoppoint", lt);
  v.Point("righttoppoint", rt);
  v.Point("leftbottompoint", lb);
  v.Point("rightbottompoint", rb);
}

void VisitStretch(TbsSkinFieldVisitor& v, bool& l, bool& r, bool& t, bool& b) {
  v.Boolean("leftstretch", l);
  v.Boolean("rightstretch", r);
  v.Boolean("topstretch", t);
  v.Boolean("bottomstretch", b);
}
}  // namespace

void TbsDataSkinPopupWindow::VisitFields(TbsSkinFieldVisitor& v) {
  v.Integer("windowpictureindex", windowpictureindex, -1);
  v.Integer("maskpictureindex", maskpictureindex, -1);
  VisitCorners(v, lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint);
  v.Rect("itemsrect", itemsrect);
  v.Color("scrollmarkercolor", scrollmarkercolor, 0);
  v.Color("scrollmarkeractivecolor", scrollmarkeractivecolor, 0);
  VisitStretch(v, leftstretch, rightstretch, topstretch, bottomstretch);
}

void TbsDataSkinHintWindow::VisitFields(TbsSkinFieldVisitor& v) {
  v.Integer("windowpictureindex", windowpictureindex, -1);
  v.Integer("maskpictureindex", maskpictureindex, -1);
  VisitCorners(v, lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint);
  v.Rect("clientrect", clientrect);
  v.String("fontname", fontname, "Arial");
  v.Integer("fontheight", fontheight, 14);
  v.FontStyle("fontstyle", fontstyle);
  v.Color("fontcolor", fontcolor, 0);
  VisitStretch(v, leftstretch, rightstretch, topstretch, bottomstretch);
}
