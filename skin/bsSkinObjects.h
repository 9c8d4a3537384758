#pragma once
// Skin objects: the elements of the window frame (caption, caption buttons,
// menu items, animations, user objects), read from the SKINOBJECTS entries.
// Rectangles lie in FramePicture or in the object's active picture.

#include "skin/bsSkinFields.h"

class TbsDataSkinObject : public TbsSkinDataEntry {
public:
  using TbsSkinDataEntry::TbsSkinDataEntry;
  std::string hint;
  int activepictureindex = -1;
  bool skinrectinapicture = false;
  TbsRect skinrect;
  TbsRect activeskinrect;
  TbsRect inactiveskinrect;
  bool morphing = false;
  TbsMorphKind morphkind = TbsMorphKind::mkDefault;
  void VisitFields(TbsSkinFieldVisitor& v) override;
};

class TbsDataUserObject : public TbsDataSkinObject {
public:
  using TbsDataSkinObject::TbsDataSkinObject;
  // A user object reads its skinrect only, none of the common object keys.
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "userobject"; }
};

class TbsDataSkinButton : public TbsDataSkinObject {
public:
  using TbsDataSkinObject::TbsDataSkinObject;
  TbsRect downrect;
  TbsRect disableskinrsect;  // the key is spelled so in every skin
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "button"; }
};

class TbsDataSkinStdButton : public TbsDataSkinButton {
public:
  using TbsDataSkinButton::TbsDataSkinButton;
  TbsCommand command = TbsCommand::cmDefault;
  TbsRect restorerect;
  TbsRect restoreactiverect;
  TbsRect restoredownrect;
  TbsRect restoreinactiverect;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "stdbutton"; }
};

class TbsDataSkinMainMenuBarButton : public TbsDataSkinStdButton {
public:
  using TbsDataSkinStdButton::TbsDataSkinStdButton;
  const char* Kind() const override { return "mainmenubarbutton"; }
};

class TbsDataSkinCaption : public TbsDataSkinObject, public TbsSkinFontFields {
public:
  using TbsDataSkinObject::TbsDataSkinObject;
  TbsRect textrect;
  TbsColor activefontcolor = 0;
  TbsAlignment alignment = TbsAlignment::taCenter;
  bool shadow = false;
  TbsColor shadowcolor = 0;
  TbsColor activeshadowcolor = 0;
  TbsRect framerect;
  TbsRect activeframerect;
  TbsRect frametextrect;
  int frameleftoffset = 0;
  int framerightoffset = 0;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "caption"; }
};

class TbsDataSkinAnimate : public TbsDataSkinObject {
public:
  using TbsDataSkinObject::TbsDataSkinObject;
  int countframes = 1;
  bool cycle = false;
  bool buttonstyle = false;
  int timerinterval = 50;
  TbsCommand command = TbsCommand::cmDefault;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "animate"; }

protected:
  void AfterLoad() override { morphing = false; }
};

class TbsDataSkinMenuItem : public TbsDataSkinObject, public TbsSkinFontFields {
public:
  using TbsDataSkinObject::TbsDataSkinObject;
  int itemleftoffset = 0;
  int itemrightoffset = 0;
  TbsRect dividerrect;
  int dividerleftoffset = 0;
  int dividerrightoffset = 0;
  TbsRect textrect;
  TbsColor activefontcolor = 0;
  TbsColor unenabledfontcolor = 0;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "menuitem"; }
};

class TbsDataSkinMainMenuItem : public TbsDataSkinObject, public TbsSkinFontFields {
public:
  using TbsDataSkinObject::TbsDataSkinObject;
  int itemleftoffset = 0;
  int itemrightoffset = 0;
  TbsRect downrect;
  TbsRect textrect;
  TbsColor activefontcolor = 0;
  TbsColor downfontcolor = 0;
  TbsColor unenabledfontcolor = 0;  // key "unenabledfontColor"
  void VisitFields(TbsSkinFieldVisitor& v) override;
};

class TbsDataSkinMainMenuBarItem : public TbsDataSkinMainMenuItem {
public:
  using TbsDataSkinMainMenuItem::TbsDataSkinMainMenuItem;
  const char* Kind() const override { return "mainmenubaritem"; }
};
