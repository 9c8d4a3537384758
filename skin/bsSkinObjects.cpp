#include "skin/bsSkinObjects.h"

void TbsDataSkinObject::VisitFields(TbsSkinFieldVisitor& v) {
  v.String("hint", hint, "");
  v.Integer("activepictureindex", activepictureindex, -1);
  v.Boolean("skinrectinapicture", skinrectinapicture);
  v.Rect("skinrect", skinrect);
  v.Rect("activeskinrect", activeskinrect);
  v.Rect("inactiveskinrect", inactiveskinrect);
  v.Boolean("morphing", morphing);
  v.MorphKind("morphkind", morphkind);
}

void TbsDataUserObject::VisitFields(TbsSkinFieldVisitor& v) {
  v.Rect("skinrect", skinrect);
}

void TbsDataSkinButton::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinObject::VisitFields(v);
  v.Rect("downrect", downrect);
  v.Rect("disableskinrsect", disableskinrsect);
}

void TbsDataSkinStdButton::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinButton::VisitFields(v);
  v.Command("command", command);
  v.Rect("restorerect", restorerect);
  v.Rect("restoreactiverect", restoreactiverect);
  v.Rect("restoredownrect", restoredownrect);
  v.Rect("restoreinactiverect", restoreinactiverect);
}

void TbsDataSkinCaption::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinObject::VisitFields(v);
  v.Rect("textrect", textrect);
  TbsSkinFontFields::Visit(v);
  v.Color("activefontcolor", activefontcolor, 0);
  v.Alignment("alignment", alignment);
  v.Boolean("shadow", shadow);
  v.Color("shadowcolor", shadowcolor, 0);
  v.Color("activeshadowcolor", activeshadowcolor, 0);
  v.Rect("framerect", framerect);
  v.Rect("activeframerect", activeframerect);
  v.Rect("frametextrect", frametextrect);
  v.Integer("frameleftoffset", frameleftoffset, 0);
  v.Integer("framerightoffset", framerightoffset, 0);
}

void TbsDataSkinAnimate::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinObject::VisitFields(v);
  v.Integer("countframes", countframes, 1);
  v.Boolean("cycle", cycle);
  v.Boolean("buttonstyle", buttonstyle);
  v.Integer("timerinterval", timerinterval, 50);
  v.Command("command", command);
}

void TbsDataSkinMenuItem::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinObject::VisitFields(v);
  v.Integer("itemleftoffset", itemleftoffset, 0);
  v.Integer("itemrightoffset", itemrightoffset, 0);
  v.Rect("dividerrect", dividerrect);
  v.Integer("dividerleftoffset", dividerleftoffset, 0);
  v.Integer("dividerrightoffset", dividerrightoffset, 0);
  v.Rect("textrect", textrect);
  TbsSkinFontFields::Visit(v);
  v.Color("activefontcolor", activefontcolor, 0);
  v.Color("unenabledfontcolor", unenabledfontcolor, 0);
}

void TbsDataSkinMainMenuItem::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinObject::VisitFields(v);
  v.Integer("itemleftoffset", itemleftoffset, 0);
  v.Integer("itemrightoffset", itemrightoffset, 0);
  v.Rect("downrect", downrect);
  v.Rect("textrect", textrect);
  TbsSkinFontFields::Visit(v);
  v.Color("activefontcolor", activefontcolor, 0);
  v.Color("downfontcolor", downfontcolor, 0);
  v.Color("unenabledfontColor", unenabledfontcolor, 0);
}
