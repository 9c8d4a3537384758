#include "skin/bsSkinControls.h"

void TbsDataSkinControl::VisitFields(TbsSkinFieldVisitor& v) {
  v.Integer("pictureindex", pictureindex, -1);
  v.Integer("maskpictureindex", maskpictureindex, -1);
  v.Rect("skinrect", skinrect);
}

void TbsDataSkinCustomControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinControl::VisitFields(v);
  v.Point("lefttoppoint", lefttoppoint);
  v.Point("righttoppoint", righttoppoint);
  v.Point("leftbottompoint", leftbottompoint);
  v.Point("rightbottompoint", rightbottompoint);
  v.Rect("clientrect", clientrect);
}

void TbsDataSkinButtonControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinCustomControl::VisitFields(v);
  TbsSkinFontFields::Visit(v);
  v.Color("activefontcolor", activefontcolor, 0);
  v.Color("downfontcolor", downfontcolor, 0);
  v.Color("disabledfontcolor", disabledfontcolor, 0);
  v.Rect("activeskinrect", activeskinrect);
  v.Rect("downskinrect", downskinrect);
  v.Rect("disabledskinrect", disabledskinrect);
  v.Boolean("morphing", morphing);
  v.MorphKind("morphkind", morphkind);
}

void TbsDataSkinMenuButtonControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinButtonControl::VisitFields(v);
  v.Rect("trackbuttonrect", trackbuttonrect);
}

void TbsDataSkinPanelControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinCustomControl::VisitFields(v);
  v.Integer("bgpictureindex", bgpictureindex, -1);
  v.Rect("captionrect", captionrect);
  v.Alignment("alignment", alignment);
  TbsSkinFontFields::Visit(v);
  v.Rect("checkimagerect", checkimagerect);
  v.Rect("uncheckimagerect", uncheckimagerect);
}

void TbsDataSkinExPanelControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinCustomControl::VisitFields(v);
  v.Rect("rollhskinrect", rollhskinrect);
  v.Rect("rollvskinrect", rollvskinrect);
  v.Integer("rollleftoffset", rollleftoffset, 0);
  v.Integer("rollrightoffset", rollrightoffset, 0);
  v.Integer("rolltopoffset", rolltopoffset, 0);
  v.Integer("rollbottomoffset", rollbottomoffset, 0);
  v.Rect("rollvcaptionrect", rollvcaptionrect);
  v.Rect("rollhcaptionrect", rollhcaptionrect);
  v.Rect("closebuttonrect", closebuttonrect);
  v.Rect("closebuttonactiverect", closebuttonactiverect);
  v.Rect("closebuttondownrect", closebuttondownrect);
  v.Rect("hrollbuttonrect", hrollbuttonrect);
  v.Rect("hrollbuttonactiverect", hrollbuttonactiverect);
  v.Rect("hrollbuttondownrect", hrollbuttondownrect);
  v.Rect("hrestorebuttonrect", hrestorebuttonrect);
  v.Rect("hrestorebuttonactiverect", hrestorebuttonactiverect);
  v.Rect("hrestorebuttondownrect", hrestorebuttondownrect);
  v.Rect("vrollbuttonrect", vrollbuttonrect);
  v.Rect("vrollbuttonactiverect", vrollbuttonactiverect);
  v.Rect("vrollbuttondownrect", vrollbuttondownrect);
  v.Rect("vrestorebuttonrect", vrestorebuttonrect);
  v.Rect("vrestorebuttonactiverect", vrestorebuttonactiverect);
  v.Rect("vrestorebuttondownrect", vrestorebuttondownrect);
  v.Rect("captionrect", captionrect);
  TbsSkinFontFields::Visit(v);
}

void TbsDataSkinCheckRadioControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinCustomControl::VisitFields(v);
  TbsSkinFontFields::Visit(v);
  v.Color("activefontcolor", activefontcolor, 0);
  v.Color("unenabledfontcolor", unenabledfontcolor, 0);
  v.Color("framefontcolor", framefontcolor, 0);
  v.Rect("activeskinrect", activeskinrect);
  v.Rect("checkimagearea", checkimagearea);
  v.Rect("textarea", textarea);
  v.Rect("checkimagerect", checkimagerect);
  v.Rect("uncheckimagerect", uncheckimagerect);
  v.Rect("activecheckimagerect", activecheckimagerect);
  v.Rect("activeuncheckimagerect", activeuncheckimagerect);
  v.Rect("unenabledcheckimagerect", unenabledcheckimagerect);
  v.Rect("unenableduncheckimagerect", unenableduncheckimagerect);
  v.Boolean("morphing", morphing);
  v.MorphKind("morphkind", morphkind);
}

void TbsDataSkinGaugeControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinCustomControl::VisitFields(v);
  v.Rect("progressarea", progressarea);
  v.Rect("progressrect", progressrect);
  v.Integer("beginoffset", beginoffset, 0);
  v.Integer("endoffset", endoffset, 0);
  v.Boolean("vertical", vertical);
  TbsSkinFontFields::Visit(v);
  v.Boolean("progresstransparent", progresstransparent);
  v.Color("progresstransparentcolor", progresstransparentcolor, 0);
}

void TbsDataSkinTrackBarControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinCustomControl::VisitFields(v);
  v.Rect("trackarea", trackarea);
  v.Rect("buttonrect", buttonrect);
  v.Rect("activebuttonrect", activebuttonrect);
  v.Boolean("vertical", vertical);
  v.Boolean("buttontransparent", buttontransparent);
  v.Color("buttontransparentcolor", buttontransparentcolor, 0);
}

void TbsDataSkinLabelControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinCustomControl::VisitFields(v);
  TbsSkinFontFields::Visit(v);
}

void TbsDataSkinStdLabelControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinControl::VisitFields(v);
  TbsSkinFontFields::Visit(v);
  v.Color("activefontcolor", activefontcolor, 16711680);
}

void TbsDataSkinUpDownControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinCustomControl::VisitFields(v);
  v.Rect("upbuttonrect", upbuttonrect);
  v.Rect("activeupbuttonrect", activeupbuttonrect);
  v.Rect("downupbuttonrect", downupbuttonrect);
  v.Rect("downbuttonrect", downbuttonrect);
  v.Rect("activedownbuttonrect", activedownbuttonrect);
  v.Rect("downdownbuttonrect", downdownbuttonrect);
}

void TbsDataSkinUpDownControl::AfterLoad() {
  lefttoppoint = righttoppoint = leftbottompoint = rightbottompoint = TbsPoint{};
  clientrect = TbsRect{};
}

void TbsDataSkinGridControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinControl::VisitFields(v);
  v.Rect("fixedcellrect", fixedcellrect);
  v.Rect("selectcellrect", selectcellrect);
  v.Rect("focuscellrect", focuscellrect);
  v.Integer("fixedcellleftoffset", fixedcellleftoffset, 0);
  v.Integer("fixedcellrightoffset", fixedcellrightoffset, 0);
  v.Rect("fixedcelltextrect", fixedcelltextrect);
  v.Integer("cellleftoffset", cellleftoffset, 0);
  v.Integer("cellrightoffset", cellrightoffset, 0);
  v.Rect("celltextrect", celltextrect);
  v.Color("linescolor", linescolor, 0);
  v.Color("bgcolor", bgcolor, 0);
  TbsSkinFontFields::Visit(v);
  v.Color("selectfontcolor", selectfontcolor, 0);
  v.Color("focusfontcolor", focusfontcolor, 0);
  v.String("fixedfontname", fixedfontname, "Arial");
  v.Integer("fixedfontheight", fixedfontheight, 14);
  v.FontStyle("fixedfontstyle", fixedfontstyle);
  v.Color("fixedfontcolor", fixedfontcolor, 0);
}

void TbsDataSkinTabControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinControl::VisitFields(v);
  v.Rect("tabrect", tabrect);
  v.Rect("activetabrect", activetabrect);
  v.Rect("focustabrect", focustabrect);
  v.Rect("mouseintabrect", mouseintabrect);
  v.Rect("clientrect", clientrect);
  v.Integer("bgpictureindex", bgpictureindex, -1);
  v.Point("lefttoppoint", lefttoppoint);
  v.Point("righttoppoint", righttoppoint);
  v.Point("leftbottompoint", leftbottompoint);
  v.Point("rightbottompoint", rightbottompoint);
  v.Integer("tableftoffset", tableftoffset, 0);
  v.Integer("tabrightoffset", tabrightoffset, 0);
  v.Rect("tabsbgrect", tabsbgrect);
  TbsSkinFontFields::Visit(v);
  v.Color("activefontcolor", activefontcolor, 0);
  v.Color("focusfontcolor", focusfontcolor, 0);
  v.Color("mouseinfontcolor", mouseinfontcolor, 0);
  v.String("updown", updown, "");
}

void TbsDataSkinMainMenuBar::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinControl::VisitFields(v);
  v.Rect("itemsrect", itemsrect);
  v.String("menubaritem", menubaritem, "");
  v.String("closebutton", closebutton, "");
  v.String("minbutton", minbutton, "");
  v.String("maxbutton", maxbutton, "");
  v.String("sysmenubutton", sysmenubutton, "");
  v.Color("trackmarkcolor", trackmarkcolor, 0);
  v.Color("trackmarkactivecolor", trackmarkactivecolor, 0);
}

void TbsDataSkinControlBar::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinCustomControl::VisitFields(v);
  v.Rect("itemrect", itemrect);
  v.Integer("bgpictureindex", bgpictureindex, -1);
}

void TbsDataSkinEditControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinCustomControl::VisitFields(v);
  v.Rect("activeskinrect", activeskinrect);
  TbsSkinFontFields::Visit(v);
  v.Color("disabledfontcolor", disabledfontcolor, 0);
  v.Color("activefontcolor", activefontcolor, 0);
  v.Rect("buttonrect", buttonrect);
  v.Rect("activebuttonrect", activebuttonrect);
  v.Rect("downbuttonrect", downbuttonrect);
  v.Rect("unenabledbuttonrect", unenabledbuttonrect);
}

void TbsDataSkinMemoControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinEditControl::VisitFields(v);
  v.Color("bgcolor", bgcolor, 0);
  v.Color("activebgcolor", activebgcolor, 0);
}

void TbsDataSkinListBox::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinCustomControl::VisitFields(v);
  v.Rect("itemrect", itemrect);
  v.Rect("activeitemrect", activeitemrect);
  v.Rect("focusitemrect", focusitemrect);
  v.Integer("itemleftoffset", itemleftoffset, 0);
  v.Integer("itemrightoffset", itemrightoffset, 0);
  v.Rect("itemtextrect", itemtextrect);
  TbsSkinFontFields::Visit(v);
  v.Color("activefontcolor", activefontcolor, 0);
  v.Color("focusfontcolor", focusfontcolor, 0);
  v.Rect("captionrect", captionrect);
  v.String("captionfontname", captionfontname, "Arial");
  v.Integer("captionfontheight", captionfontheight, 14);
  v.FontStyle("captionfontstyle", captionfontstyle);
  v.Color("captionfontcolor", captionfontcolor, 0);
  v.Rect("upbuttonrect", upbuttonrect);
  v.Rect("activeupbuttonrect", activeupbuttonrect);
  v.Rect("downupbuttonrect", downupbuttonrect);
  v.Rect("downbuttonrect", downbuttonrect);
  v.Rect("activedownbuttonrect", activedownbuttonrect);
  v.Rect("downdownbuttonrect", downdownbuttonrect);
  v.Rect("checkbuttonrect", checkbuttonrect);
  v.Rect("activecheckbuttonrect", activecheckbuttonrect);
  v.Rect("downcheckbuttonrect", downcheckbuttonrect);
  v.String("vscrollbarname", vscrollbarname, "vscrollbar");
  v.String("hscrollbarname", hscrollbarname, "hscrollbar");
  v.String("bothhscrollbarname", bothhscrollbarname, "bothhscrollbar");
}

void TbsDataSkinCheckListBox::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinListBox::VisitFields(v);
  v.Rect("itemcheckrect", itemcheckrect);
  v.Rect("checkimagerect", checkimagerect);
  v.Rect("uncheckimagerect", uncheckimagerect);
}

void TbsDataSkinComboBox::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinCustomControl::VisitFields(v);
  v.Rect("itemrect", itemrect);
  v.Rect("focusitemrect", focusitemrect);
  v.Integer("itemleftoffset", itemleftoffset, 0);
  v.Integer("itemrightoffset", itemrightoffset, 0);
  v.Rect("itemtextrect", itemtextrect);
  TbsSkinFontFields::Visit(v);
  v.Color("focusfontcolor", focusfontcolor, 0);
  v.String("listboxname", listboxname, "");
  v.Rect("buttonrect", buttonrect);
  v.Rect("activebuttonrect", activebuttonrect);
  v.Rect("downbuttonrect", downbuttonrect);
  v.Rect("unenabledbuttonrect", unenabledbuttonrect);
}

void TbsDataSkinScrollBarControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinCustomControl::VisitFields(v);
  v.Rect("trackarea", trackarea);
  v.Rect("upbuttonrect", upbuttonrect);
  v.Rect("activeupbuttonrect", activeupbuttonrect);
  v.Rect("downupbuttonrect", downupbuttonrect);
  v.Rect("downbuttonrect", downbuttonrect);
  v.Rect("activedownbuttonrect", activedownbuttonrect);
  v.Rect("downdownbuttonrect", downdownbuttonrect);
  v.Rect("thumbrect", thumbrect);
  v.Rect("activethumbrect", activethumbrect);
  v.Rect("downthumbrect", downthumbrect);
  v.Integer("thumboffset1", thumboffset1, 0);
  v.Integer("thumboffset2", thumboffset2, 0);
  v.Boolean("thumbtransparent", thumbtransparent);
  v.Color("thumbtransparentcolor", thumbtransparentcolor, 0);
  v.Rect("glyphrect", glyphrect);
  v.Rect("activeglyphrect", activeglyphrect);
  v.Rect("downglyphrect", downglyphrect);
}

void TbsDataSkinSpinEditControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinCustomControl::VisitFields(v);
  v.Rect("activeskinrect", activeskinrect);
  TbsSkinFontFields::Visit(v);
  v.Color("activefontcolor", activefontcolor, 0);
  v.Color("disabledfontcolor", disabledfontcolor, 0);
  v.Rect("upbuttonrect", upbuttonrect);
  v.Rect("activeupbuttonrect", activeupbuttonrect);
  v.Rect("downupbuttonrect", downupbuttonrect);
  v.Rect("downbuttonrect", downbuttonrect);
  v.Rect("activedownbuttonrect", activedownbuttonrect);
  v.Rect("downdownbuttonrect", downdownbuttonrect);
}

void TbsDataSkinScrollBoxControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinCustomControl::VisitFields(v);
  v.Integer("bgpictureindex", bgpictureindex, -1);
}

void TbsDataSkinTextViewControl::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinControl::VisitFields(v);
  TbsSkinFontFields::Visit(v);
  v.Color("bgcolor", bgcolor, 0);
}

void TbsDataSkinBevel::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinControl::VisitFields(v);
  v.Color("lightcolor", lightcolor, 0);
  v.Color("darkcolor", darkcolor, 0);
}

void TbsDataSkinSlider::VisitFields(TbsSkinFieldVisitor& v) {
  TbsDataSkinControl::VisitFields(v);
  v.Color("bgcolor", bgcolor, 0);
  v.Rect("hrulerrect", hrulerrect);
  v.Rect("hthumbrect", hthumbrect);
  v.Rect("vrulerrect", vrulerrect);
  v.Rect("vthumbrect", vthumbrect);
  v.Integer("edgesize", edgesize, 0);
  v.Color("pointscolor", pointscolor, 0);
}
