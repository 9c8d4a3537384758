#pragma once
// Skin controls: one entry per control look ("button", "panel", "edit" ...),
// read from the SKINCONTROLS entries. Every rectangle lies in the active
// picture `pictureindex`; corner points and clientrect are relative to skinrect.

#include "skin/bsSkinFields.h"

class TbsDataSkinControl : public TbsSkinDataEntry {
public:
  using TbsSkinDataEntry::TbsSkinDataEntry;
  int pictureindex = -1;
  int maskpictureindex = -1;
  TbsRect skinrect;
  void VisitFields(TbsSkinFieldVisitor& v) override;
};

class TbsDataSkinCustomControl : public TbsDataSkinControl {
public:
  using TbsDataSkinControl::TbsDataSkinControl;
  TbsPoint lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
  TbsRect clientrect;
  void VisitFields(TbsSkinFieldVisitor& v) override;
};

// Font keys shared by many controls: name, height, style and colour.
class TbsDataSkinButtonControl : public TbsDataSkinCustomControl, public TbsSkinFontFields {
public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TbsColor activefontcolor = 0, downfontcolor = 0, disabledfontcolor = 0;
  TbsRect activeskinrect, downskinrect, disabledskinrect;
  bool morphing = false;
  TbsMorphKind morphkind = TbsMorphKind::mkDefault;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "button"; }
};

class TbsDataSkinMenuButtonControl : public TbsDataSkinButtonControl {
public:
  using TbsDataSkinButtonControl::TbsDataSkinButtonControl;
  TbsRect trackbuttonrect;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "menubutton"; }
};

class TbsDataSkinPanelControl : public TbsDataSkinCustomControl, public TbsSkinFontFields {
public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  int bgpictureindex = -1;
  TbsRect captionrect;
  TbsAlignment alignment = TbsAlignment::taCenter;
  TbsRect checkimagerect, uncheckimagerect;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "panel"; }
};

class TbsDataSkinExPanelControl : public TbsDataSkinCustomControl, public TbsSkinFontFields {
public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TbsRect rollhskinrect, rollvskinrect;
  int rollleftoffset = 0, rollrightoffset = 0, rolltopoffset = 0, rollbottomoffset = 0;
  TbsRect rollvcaptionrect, rollhcaptionrect;
  TbsRect closebuttonrect, closebuttonactiverect, closebuttondownrect;
  TbsRect hrollbuttonrect, hrollbuttonactiverect, hrollbuttondownrect;
  TbsRect hrestorebuttonrect, hrestorebuttonactiverect, hrestorebuttondownrect;
  TbsRect vrollbuttonrect, vrollbuttonactiverect, vrollbuttondownrect;
  TbsRect vrestorebuttonrect, vrestorebuttonactiverect, vrestorebuttondownrect;
  TbsRect captionrect;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "expanel"; }
};

class TbsDataSkinCheckRadioControl : public TbsDataSkinCustomControl, public TbsSkinFontFields {
public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TbsColor activefontcolor = 0, unenabledfontcolor = 0, framefontcolor = 0;
  TbsRect activeskinrect, checkimagearea, textarea, checkimagerect, uncheckimagerect,
      activecheckimagerect, activeuncheckimagerect, unenabledcheckimagerect,
      unenableduncheckimagerect;
  bool morphing = false;
  TbsMorphKind morphkind = TbsMorphKind::mkDefault;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "checkradio"; }
};

class TbsDataSkinGaugeControl : public TbsDataSkinCustomControl, public TbsSkinFontFields {
public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TbsRect progressarea, progressrect;
  int beginoffset = 0, endoffset = 0;
  bool vertical = false;
  bool progresstransparent = false;
  TbsColor progresstransparentcolor = 0;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "gauge"; }
};

class TbsDataSkinSplitterControl : public TbsDataSkinCustomControl {
public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  const char* Kind() const override { return "splitter"; }
};

class TbsDataSkinTrackBarControl : public TbsDataSkinCustomControl {
public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TbsRect trackarea, buttonrect, activebuttonrect;
  bool vertical = false;
  bool buttontransparent = false;
  TbsColor buttontransparentcolor = 0;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "trackbar"; }
};

class TbsDataSkinLabelControl : public TbsDataSkinCustomControl, public TbsSkinFontFields {
public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "label"; }
};

class TbsDataSkinStdLabelControl : public TbsDataSkinControl, public TbsSkinFontFields {
public:
  using TbsDataSkinControl::TbsDataSkinControl;
  TbsColor activefontcolor = 16711680;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "stdlabel"; }
};

class TbsDataSkinUpDownControl : public TbsDataSkinCustomControl {
public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TbsRect upbuttonrect, activeupbuttonrect, downupbuttonrect;
  TbsRect downbuttonrect, activedownbuttonrect, downdownbuttonrect;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "updown"; }

protected:
  // An up-down control is always drawn at its skin size: no corners, no client area.
  void AfterLoad() override;
};

class TbsDataSkinGridControl : public TbsDataSkinControl, public TbsSkinFontFields {
public:
  using TbsDataSkinControl::TbsDataSkinControl;
  TbsRect fixedcellrect, selectcellrect, focuscellrect;
  int fixedcellleftoffset = 0, fixedcellrightoffset = 0;
  TbsRect fixedcelltextrect;
  int cellleftoffset = 0, cellrightoffset = 0;
  TbsRect celltextrect;
  TbsColor linescolor = 0, bgcolor = 0;
  TbsColor selectfontcolor = 0, focusfontcolor = 0;
  std::string fixedfontname = "Arial";
  int fixedfontheight = 14;
  TbsFontStyles fixedfontstyle = 0;
  TbsColor fixedfontcolor = 0;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "grid"; }
};

class TbsDataSkinTabControl : public TbsDataSkinControl, public TbsSkinFontFields {
public:
  using TbsDataSkinControl::TbsDataSkinControl;
  TbsRect tabrect, activetabrect, focustabrect, mouseintabrect, clientrect;
  int bgpictureindex = -1;
  TbsPoint lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
  int tableftoffset = 0, tabrightoffset = 0;
  TbsRect tabsbgrect;
  TbsColor activefontcolor = 0, focusfontcolor = 0, mouseinfontcolor = 0;
  std::string updown;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "tab"; }
};

class TbsDataSkinMainMenuBar : public TbsDataSkinControl {
public:
  using TbsDataSkinControl::TbsDataSkinControl;
  TbsRect itemsrect;
  std::string menubaritem, closebutton, minbutton, maxbutton, sysmenubutton;
  TbsColor trackmarkcolor = 0, trackmarkactivecolor = 0;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "mainmenubar"; }
};

class TbsDataSkinControlBar : public TbsDataSkinCustomControl {
public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TbsRect itemrect;
  int bgpictureindex = -1;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "controlbar"; }
};

class TbsDataSkinEditControl : public TbsDataSkinCustomControl, public TbsSkinFontFields {
public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TbsRect activeskinrect;
  TbsColor disabledfontcolor = 0, activefontcolor = 0;
  TbsRect buttonrect, activebuttonrect, downbuttonrect, unenabledbuttonrect;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "edit"; }
};

class TbsDataSkinMemoControl : public TbsDataSkinEditControl {
public:
  using TbsDataSkinEditControl::TbsDataSkinEditControl;
  TbsColor bgcolor = 0, activebgcolor = 0;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "memo"; }
};

class TbsDataSkinListBox : public TbsDataSkinCustomControl, public TbsSkinFontFields {
public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TbsRect itemrect, activeitemrect, focusitemrect;
  int itemleftoffset = 0, itemrightoffset = 0;
  TbsRect itemtextrect;
  TbsColor activefontcolor = 0, focusfontcolor = 0;
  TbsRect captionrect;
  std::string captionfontname = "Arial";
  int captionfontheight = 14;
  TbsFontStyles captionfontstyle = 0;
  TbsColor captionfontcolor = 0;
  TbsRect upbuttonrect, activeupbuttonrect, downupbuttonrect;
  TbsRect downbuttonrect, activedownbuttonrect, downdownbuttonrect;
  TbsRect checkbuttonrect, activecheckbuttonrect, downcheckbuttonrect;
  std::string vscrollbarname = "vscrollbar";
  std::string hscrollbarname = "hscrollbar";
  std::string bothhscrollbarname = "bothhscrollbar";
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "listbox"; }
};

class TbsDataSkinCheckListBox : public TbsDataSkinListBox {
public:
  using TbsDataSkinListBox::TbsDataSkinListBox;
  TbsRect itemcheckrect, checkimagerect, uncheckimagerect;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "checklistbox"; }
};

class TbsDataSkinComboBox : public TbsDataSkinCustomControl, public TbsSkinFontFields {
public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TbsRect itemrect, focusitemrect;
  int itemleftoffset = 0, itemrightoffset = 0;
  TbsRect itemtextrect;
  TbsColor focusfontcolor = 0;
  std::string listboxname;
  TbsRect buttonrect, activebuttonrect, downbuttonrect, unenabledbuttonrect;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "combobox"; }
};

class TbsDataSkinScrollBarControl : public TbsDataSkinCustomControl {
public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TbsRect trackarea;
  TbsRect upbuttonrect, activeupbuttonrect, downupbuttonrect;
  TbsRect downbuttonrect, activedownbuttonrect, downdownbuttonrect;
  TbsRect thumbrect, activethumbrect, downthumbrect;
  int thumboffset1 = 0, thumboffset2 = 0;
  bool thumbtransparent = false;
  TbsColor thumbtransparentcolor = 0;
  TbsRect glyphrect, activeglyphrect, downglyphrect;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "scrollbar"; }
};

class TbsDataSkinSpinEditControl : public TbsDataSkinCustomControl, public TbsSkinFontFields {
public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TbsRect activeskinrect;
  TbsColor activefontcolor = 0, disabledfontcolor = 0;
  TbsRect upbuttonrect, activeupbuttonrect, downupbuttonrect;
  TbsRect downbuttonrect, activedownbuttonrect, downdownbuttonrect;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "spinedit"; }
};

class TbsDataSkinScrollBoxControl : public TbsDataSkinCustomControl {
public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  int bgpictureindex = -1;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "scrollbox"; }
};

// Tree view, list view and rich edit share one set of keys.
class TbsDataSkinTextViewControl : public TbsDataSkinControl, public TbsSkinFontFields {
public:
  using TbsDataSkinControl::TbsDataSkinControl;
  TbsColor bgcolor = 0;
  void VisitFields(TbsSkinFieldVisitor& v) override;
};

class TbsDataSkinTreeView : public TbsDataSkinTextViewControl {
public:
  using TbsDataSkinTextViewControl::TbsDataSkinTextViewControl;
  const char* Kind() const override { return "treeview"; }
};

class TbsDataSkinListView : public TbsDataSkinTextViewControl {
public:
  using TbsDataSkinTextViewControl::TbsDataSkinTextViewControl;
  const char* Kind() const override { return "listview"; }
};

class TbsDataSkinRichEdit : public TbsDataSkinTextViewControl {
public:
  using TbsDataSkinTextViewControl::TbsDataSkinTextViewControl;
  const char* Kind() const override { return "richedit"; }
};

class TbsDataSkinBevel : public TbsDataSkinControl {
public:
  using TbsDataSkinControl::TbsDataSkinControl;
  TbsColor lightcolor = 0, darkcolor = 0;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "bevel"; }
};

class TbsDataSkinSlider : public TbsDataSkinControl {
public:
  using TbsDataSkinControl::TbsDataSkinControl;
  TbsColor bgcolor = 0;
  TbsRect hrulerrect, hthumbrect, vrulerrect, vthumbrect;
  int edgesize = 0;
  TbsColor pointscolor = 0;
  void VisitFields(TbsSkinFieldVisitor& v) override;
  const char* Kind() const override { return "slider"; }
};
