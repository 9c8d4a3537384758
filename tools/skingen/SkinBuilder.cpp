#include "tools/skingen/SkinBuilder.h"

#include "tools/skingen/SkinArt.h"

#include <QPainterPath>

namespace {

TbsColor C(const QColor& c) { return bsRGB(c.red(), c.green(), c.blue()); }
TbsRect R(int l, int t, int r, int b) { return TbsRect{l, t, r, b}; }
TbsRect Rw(int x, int y, int w, int h) { return TbsRect{x, y, x + w, y + h}; }

// Frame picture geometry: a 30-pixel caption bar over a client area framed by
// four-pixel borders.
constexpr int kFrameW = 160, kFrameH = 100, kCaptionH = 30, kBorder = 4;
constexpr int kCapBtnW = 30, kCapBtnH = 22, kSysBtnW = 24, kCapTop = 4;

// Picture indexes of the skin.
enum : int {
  picCaptionButtons, picControls, picSpinEdit, picComboBox, picVScroll, picHScroll,
  picToolMenuButton, picPopup, picPopupMask, picHint, picButtonEdit, picCount
};

QColor CaptionAt(const TSkinPalette& pal, int y) {
  return Mix(pal.CaptionTop, pal.CaptionBottom, qreal(y) / (kCaptionH - 2));
}

class TBuilder {
public:
  explicit TBuilder(const TSkinPalette& pal) : P(pal) {}

  TbsLoadedSkin Build() {
    TbsSkinContent& c = FSkin.Content;
    c.skinname = P.Name;
    c.skinauthor = "Tellivo Rasp";
    c.authoremail = "";
    c.authorurl = "";
    c.skincomments = "Drawn by skingen";
    c.SkinPictures.resize(picCount);
    c.FramePictureName = "frame.bmp";
    c.FrameMaskName = "framemask.bmp";
    c.SkinPictureNames = {"captionbuttons.bmp", "controls.bmp", "spinedit.bmp", "combobox.bmp",
                          "vscrollbar.bmp", "hscrollbar.bmp", "toolmenubutton.bmp",
                          "popup.bmp", "popupmask.bmp", "hint.bmp", "buttonedit.bmp"};
    Frame();
    CaptionButtons();
    Controls();
    SpinEdit();
    ButtonEdit();
    ComboBox();
    ScrollBars();
    ToolMenuButton();
    PopupAndHint();
    return std::move(FSkin);
  }

private:
  void Frame() {
    TbsSkinContent& c = FSkin.Content;
    QImage img = Canvas(kFrameW, kFrameH, P.FrameFill);
    QPainter p(&img);
    for (int y = 0; y < kCaptionH - 1; ++y) p.fillRect(0, y, kFrameW, 1, CaptionAt(P, y));
    p.fillRect(0, kCaptionH - 1, kFrameW, 1, P.CaptionLine);
    const QRect client(kBorder, kCaptionH, kFrameW - 2 * kBorder, kFrameH - kCaptionH - kBorder);
    p.fillRect(client, P.Client);
    // A hairline where frame meets client keeps the edge crisp on any background.
    p.setPen(P.ClientEdge);
    p.drawLine(kBorder - 1, kCaptionH, kBorder - 1, client.bottom() + 1);
    p.drawLine(client.right() + 1, kCaptionH, client.right() + 1, client.bottom() + 1);
    p.drawLine(kBorder - 1, client.bottom() + 1, client.right() + 1, client.bottom() + 1);
    // Outer border with rounded top corners; the mask cuts the window to it.
    QPainterPath outline = FrameOutline();
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath outside;
    outside.addRect(QRectF(0, 0, kFrameW, kFrameH));
    p.fillPath(outside.subtracted(outline), P.FrameBorder);
    p.setPen(QPen(P.FrameBorder, 1.0));
    p.drawPath(outline.translated(0, 0));
    p.end();
    c.FramePicture = img;

    QImage mask = Canvas(kFrameW, kFrameH, Qt::white);
    for (int y = 0; y < kFrameH; ++y) {
      for (int x = 0; x < kFrameW; ++x) {
        if (outline.contains(QPointF(x + 0.5, y + 0.5)) || y >= 8)
          mask.setPixelColor(x, y, Qt::black);
      }
    }
    c.FrameMask = mask;

    c.clientrect = R(kBorder, kCaptionH, kFrameW - kBorder, kFrameH - kBorder);
    c.lefttoppoint = {12, 40};
    c.righttoppoint = {kFrameW - 12, 40};
    c.leftbottompoint = {12, kFrameH - 10};
    c.rightbottompoint = {kFrameW - 12, kFrameH - 10};
    c.leftstretch = c.rightstretch = c.topstretch = c.bottomstretch = true;
    c.maskrectarea = R(kBorder, 8, kFrameW - kBorder, kFrameH - kBorder);
    c.hittestlefttoppoint = {10, 10};
    c.hittestrighttoppoint = {kFrameW - 10, 10};
    c.hittestleftbottompoint = {10, kFrameH - 10};
    c.hittestrightbottompoint = {kFrameW - 10, kFrameH - 10};
    c.captionrect = R(5, kCapTop, kFrameW - 5, kCapTop + kCapBtnH);
    c.buttonsoffset = 2;
    c.borderwidth = kBorder;
    c.inactiveeffect = TbsEffect::ieBrightness;

    auto caption = std::make_unique<TbsDataSkinCaption>("caption");
    caption->skinrect = c.captionrect;
    caption->textrect = R(6, 0, c.captionrect.Width() - 4, kCapBtnH);
    caption->fontname = "Arial";
    caption->fontheight = 14;
    caption->fontstyle = fsBold;
    caption->fontcolor = C(P.TextInactive);
    caption->activefontcolor = C(P.Text);
    caption->alignment = TbsAlignment::taLeftJustify;
    c.SkinObjects.push_back(std::move(caption));
  }

  QPainterPath FrameOutline() const {
    QPainterPath path;
    const QRectF r(0.5, 0.5, kFrameW - 1, kFrameH - 1);
    const qreal rad = 7;
    path.moveTo(r.left(), r.bottom());
    path.lineTo(r.left(), r.top() + rad);
    path.arcTo(QRectF(r.left(), r.top(), 2 * rad, 2 * rad), 180, -90);
    path.lineTo(r.right() - rad, r.top());
    path.arcTo(QRectF(r.right() - 2 * rad, r.top(), 2 * rad, 2 * rad), 90, -90);
    path.lineTo(r.right(), r.bottom());
    path.closeSubpath();
    return path;
  }

  // Caption buttons: a column per glyph, a row per state (normal, hover,
  // pressed, inactive window). The normal row repeats the caption bar behind it.
  void CaptionButtons() {
    const TGlyph columns[] = {TGlyph::Close, TGlyph::Maximize, TGlyph::Restore,
                              TGlyph::Minimize, TGlyph::RollUp, TGlyph::RollDown, TGlyph::Tray};
    const int width = 7 * kCapBtnW + kSysBtnW;
    QImage img = Canvas(width, 4 * kCapBtnH, P.CaptionBottom);
    QPainter p(&img);
    for (int row = 0; row < 4; ++row) {
      for (int y = 0; y < kCapBtnH; ++y)
        p.fillRect(0, row * kCapBtnH + y, width, 1, CaptionAt(P, kCapTop + y));
    }
    auto cell = [&](int col, int row) {
      const int x = col < 7 ? col * kCapBtnW : 7 * kCapBtnW;
      const int w = col < 7 ? kCapBtnW : kSysBtnW;
      return QRect(x, row * kCapBtnH, w, kCapBtnH);
    };
    for (int col = 0; col < 8; ++col) {
      const bool close = col == 0;
      for (int row = 0; row < 4; ++row) {
        QRect box = cell(col, row);
        QColor glyph = row == 3 ? P.GlyphInactive : P.Glyph;
        if (row == 1 || row == 2) {
          QColor bg = close ? (row == 1 ? P.CloseHover : P.CloseDown)
                            : (row == 1 ? P.CaptionHover : P.CaptionDown);
          QRect plate = box.adjusted(1, 1, -1, -1);
          RoundedBox(p, plate, 4, bg, bg, bg.darker(close ? 110 : 104));
          if (close) glyph = Qt::white;
        }
        if (col < 7) {
          DrawGlyph(p, box, columns[col], glyph, P.Accent);
        } else {
          QColor accent = row == 3 ? P.GlyphInactive : P.Accent;
          DrawGlyph(p, box, TGlyph::App, glyph, accent);
        }
      }
    }
    p.end();
    FSkin.Content.SkinPictures[picCaptionButtons] = img;

    struct TButton { const char* Name; TbsCommand Command; int Col; int RestoreCol; };
    const TButton buttons[] = {
        {"closebutton", TbsCommand::cmClose, 0, -1},
        {"maxbutton", TbsCommand::cmMaximize, 1, 2},
        {"minbutton", TbsCommand::cmMinimize, 3, 2},
        {"rollupbutton", TbsCommand::cmRollUp, 4, 5},
        {"traybutton", TbsCommand::cmMinimizeToTray, 6, -1},
        {"sysmenubutton", TbsCommand::cmSysMenu, 7, -1},
    };
    auto rect = [&](int col, int row) {
      QRect q = cell(col, row);
      return Rw(q.x(), q.y(), q.width(), q.height());
    };
    for (const TButton& b : buttons) {
      auto o = std::make_unique<TbsDataSkinStdButton>(b.Name);
      o->activepictureindex = picCaptionButtons;
      o->skinrectinapicture = true;
      o->command = b.Command;
      o->skinrect = rect(b.Col, 0);
      o->activeskinrect = rect(b.Col, 1);
      o->downrect = rect(b.Col, 2);
      o->inactiveskinrect = rect(b.Col, 3);
      o->morphing = b.Command != TbsCommand::cmSysMenu;
      o->morphkind = TbsMorphKind::mkDefault;
      if (b.RestoreCol >= 0) {
        o->restorerect = rect(b.RestoreCol, 0);
        o->restoreactiverect = rect(b.RestoreCol, 1);
        o->restoredownrect = rect(b.RestoreCol, 2);
        o->restoreinactiverect = rect(b.RestoreCol, 3);
      }
      FSkin.Content.SkinObjects.push_back(std::move(o));
    }
  }

  template <class T>
  T& AddControl(const char* name, int picture, TbsRect skinrect) {
    auto ctl = std::make_unique<T>(name);
    ctl->pictureindex = picture;
    ctl->skinrect = skinrect;
    T& ref = *ctl;
    FSkin.Content.SkinControls.push_back(std::move(ctl));
    return ref;
  }

  template <class T>
  void Fonts(T& ctl, const QColor& color, int height = 14, TbsFontStyles style = 0) {
    ctl.fontname = "Arial";
    ctl.fontheight = height;
    ctl.fontstyle = style;
    ctl.fontcolor = C(color);
  }

  static void Horizontal(TbsDataSkinCustomControl& c, int left, int right, TbsRect client) {
    c.lefttoppoint = {left, 0};
    c.righttoppoint = {c.skinrect.Width() - right, 0};
    c.clientrect = client;
  }

  static void NinePiece(TbsDataSkinCustomControl& c, int l, int t, int r, int b, TbsRect client) {
    const int w = c.skinrect.Width(), h = c.skinrect.Height();
    c.lefttoppoint = {l, t};
    c.righttoppoint = {w - r, t};
    c.leftbottompoint = {l, h - b};
    c.rightbottompoint = {w - r, h - b};
    c.clientrect = client;
  }

  // The general sheet: buttons, tool buttons, edits, panels, group box, list
  // box, memo, list header and menu items.
  void Controls() {
    QImage img = Canvas(160, 200, P.Panel);
    QPainter p(&img);

    // "button": 21 pixels high, states stacked.
    const QColor tops[] = {P.ButtonTop, P.ButtonHoverTop, P.ButtonDownTop, P.DisabledFill};
    const QColor bottoms[] = {P.ButtonBottom, P.ButtonHoverBottom, P.ButtonDownBottom,
                              P.DisabledFill};
    const QColor borders[] = {P.ButtonBorder, P.ButtonHoverBorder, P.ButtonDownBorder,
                              P.DisabledBorder};
    for (int i = 0; i < 4; ++i) {
      QRect r(0, i * 21, 40, 21);
      p.fillRect(r, P.Panel);
      RoundedBox(p, r, 3.5, tops[i], bottoms[i], borders[i]);
      if (i == 0) {  // a soft highlight under the top edge
        p.setPen(Mix(P.ButtonTop, QColor(Qt::white), 0.6));
        p.drawLine(3, 1, 36, 1);
      }
    }
    auto& button = AddControl<TbsDataSkinButtonControl>("button", picControls, Rw(0, 0, 40, 21));
    Horizontal(button, 5, 5, R(5, 3, 35, 18));
    Fonts(button, P.Text);
    button.activefontcolor = C(P.Text);
    button.downfontcolor = C(P.Text);
    button.disabledfontcolor = C(P.DisabledText);
    button.activeskinrect = Rw(0, 21, 40, 21);
    button.downskinrect = Rw(0, 42, 40, 21);
    button.disabledskinrect = Rw(0, 63, 40, 21);
    button.morphing = true;
    button.morphkind = TbsMorphKind::mkGradient;

    // Tool buttons: flat until the mouse is over them.
    for (int i = 0; i < 4; ++i) {
      QRect r(40, i * 24, 24, 24);
      p.fillRect(r, P.Panel);
      if (i == 1) RoundedBox(p, r.adjusted(1, 1, -1, -1), 4, P.ButtonHoverTop, P.ButtonHoverBottom,
                             P.ButtonHoverBorder);
      if (i == 2) RoundedBox(p, r.adjusted(1, 1, -1, -1), 4, P.ButtonDownTop, P.ButtonDownBottom,
                             P.ButtonDownBorder);
    }
    auto& tool = AddControl<TbsDataSkinButtonControl>("toolbutton", picControls, Rw(40, 0, 24, 24));
    NinePiece(tool, 5, 5, 5, 5, R(5, 5, 19, 19));
    Fonts(tool, P.Text);
    tool.activefontcolor = tool.downfontcolor = C(P.Text);
    tool.disabledfontcolor = C(P.DisabledText);
    tool.activeskinrect = Rw(40, 24, 24, 24);
    tool.downskinrect = Rw(40, 48, 24, 24);
    tool.disabledskinrect = Rw(40, 72, 24, 24);

    // "edit": 18 pixels high; the focused look has the accent border.
    for (int i = 0; i < 2; ++i) {
      QRect r(100, i * 18, 40, 18);
      p.fillRect(r, P.Panel);
      RoundedBox(p, r, 2.5, P.EditFill, P.EditFill, i ? P.EditFocusBorder : P.EditBorder);
    }
    auto& edit = AddControl<TbsDataSkinEditControl>("edit", picControls, Rw(100, 0, 40, 18));
    Horizontal(edit, 4, 4, R(4, 2, 36, 16));
    Fonts(edit, P.Text, 13);
    edit.activeskinrect = Rw(100, 18, 40, 18);
    edit.activefontcolor = C(P.Text);
    edit.disabledfontcolor = C(P.DisabledText);

    // "panel": flat; "toolpanel" adds a hairline along its bottom.
    p.fillRect(QRect(100, 40, 12, 12), P.Panel);
    auto& panel = AddControl<TbsDataSkinPanelControl>("panel", picControls, Rw(100, 40, 12, 12));
    NinePiece(panel, 3, 3, 3, 3, R(3, 3, 9, 9));
    Fonts(panel, P.Text, 14, fsBold);
    panel.alignment = TbsAlignment::taLeftJustify;
    auto& status = AddControl<TbsDataSkinPanelControl>("statusbar", picControls, Rw(100, 40, 12, 12));
    NinePiece(status, 3, 3, 3, 3, R(3, 3, 9, 9));
    Fonts(status, P.TextInactive);
    p.fillRect(QRect(112, 40, 12, 12), P.Panel);
    p.fillRect(QRect(112, 51, 12, 1), P.ToolPanelLine);
    auto& toolpanel = AddControl<TbsDataSkinPanelControl>("toolpanel", picControls, Rw(112, 40, 12, 12));
    NinePiece(toolpanel, 3, 3, 3, 3, R(3, 3, 9, 9));
    Fonts(toolpanel, P.Text);

    // "groupbox": a rounded card with a caption band.
    {
      QRect r(0, 88, 60, 60);
      p.fillRect(r, P.Panel);
      RoundedBox(p, r, 5, P.GroupFill, P.GroupFill, P.GroupBorder);
      p.save();
      QPainterPath clip;
      clip.addRoundedRect(QRectF(r).adjusted(1, 1, -1, -1), 4, 4);
      p.setClipPath(clip);
      FillGradient(p, QRect(1, 89, 58, 22), P.GroupCaptionTop, P.GroupCaptionBottom);
      p.restore();
      p.fillRect(QRect(1, 88 + 22, 58, 1), P.GroupBorder);
      auto& group = AddControl<TbsDataSkinPanelControl>("groupbox", picControls, Rw(0, 88, 60, 60));
      NinePiece(group, 7, 24, 7, 7, R(2, 24, 58, 58));
      // From the left-top corner to the right-top one, so the caption grows with the box.
      group.captionrect = R(7, 0, 53, 22);
      group.alignment = TbsAlignment::taLeftJustify;
      Fonts(group, P.Text, 14, fsBold);
    }

    // "listbox" and "memo": white wells; list items beside them.
    {
      QRect r(60, 88, 30, 30);
      p.fillRect(r, P.Panel);
      RoundedBox(p, r, 2.5, P.EditFill, P.EditFill, P.EditBorder);
      auto& list = AddControl<TbsDataSkinListBox>("listbox", picControls, Rw(60, 88, 30, 30));
      NinePiece(list, 4, 4, 4, 4, R(2, 2, 28, 28));
      p.fillRect(QRect(90, 88, 40, 20), P.EditFill);
      p.fillRect(QRect(90, 108, 40, 20), P.EditFill);
      RoundedBox(p, QRect(90, 108, 40, 20), 3, P.AccentLight, P.AccentLight, P.AccentLight);
      p.fillRect(QRect(90, 128, 40, 20), P.EditFill);
      RoundedBox(p, QRect(90, 128, 40, 20), 3, P.Accent, P.Accent, P.Accent.darker(115));
      list.itemrect = Rw(90, 88, 40, 20);
      list.activeitemrect = Rw(90, 108, 40, 20);
      list.focusitemrect = Rw(90, 128, 40, 20);
      list.itemleftoffset = 4;
      list.itemrightoffset = 4;
      list.itemtextrect = R(6, 0, 34, 20);
      Fonts(list, P.Text, 13);
      list.activefontcolor = C(P.Text);
      list.focusfontcolor = C(P.AccentText);
      list.captionfontcolor = C(P.Text);
      list.captionfontstyle = fsBold;

      QRect m(130, 88, 30, 30);
      p.fillRect(m, P.Panel);
      RoundedBox(p, m, 2.5, P.EditFill, P.EditFill, P.EditBorder);
      auto& memo = AddControl<TbsDataSkinMemoControl>("memo", picControls, Rw(130, 88, 30, 30));
      NinePiece(memo, 4, 4, 4, 4, R(3, 3, 27, 27));
      Fonts(memo, P.Text, 14);
      memo.bgcolor = memo.activebgcolor = C(P.EditFill);
      memo.activefontcolor = C(P.Text);
      memo.disabledfontcolor = C(P.DisabledText);
    }

    // "resizebutton": the column headers of lists.
    for (int i = 0; i < 3; ++i) {
      QRect r(0, 148 + i * 17, 40, 17);
      const QColor top = i == 0 ? P.GroupCaptionTop : i == 1 ? P.ButtonHoverTop : P.ButtonDownTop;
      const QColor bottom =
          i == 0 ? P.GroupCaptionBottom : i == 1 ? P.ButtonHoverBottom : P.ButtonDownBottom;
      FillGradient(p, r, top, bottom);
      p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), P.GroupBorder);
      p.fillRect(QRect(r.right(), r.top() + 3, 1, r.height() - 6), P.GroupBorder);
    }
    auto& header = AddControl<TbsDataSkinButtonControl>("resizebutton", picControls, Rw(0, 148, 40, 17));
    NinePiece(header, 4, 3, 4, 3, R(4, 2, 36, 15));
    Fonts(header, P.Text, 13);
    header.activefontcolor = header.downfontcolor = C(P.Text);
    header.disabledfontcolor = C(P.DisabledText);
    header.activeskinrect = Rw(0, 165, 40, 17);
    header.downskinrect = Rw(0, 182, 40, 17);

    // Menu items: white rows, a soft accent plate under the pointer, a divider.
    p.fillRect(QRect(60, 148, 60, 22), P.MenuFill);
    p.fillRect(QRect(60, 170, 60, 22), P.MenuFill);
    RoundedBox(p, QRect(61, 170, 58, 22), 3.5, P.MenuHover, P.MenuHover, P.MenuHover);
    p.fillRect(QRect(60, 192, 60, 7), P.MenuFill);
    p.fillRect(QRect(64, 195, 52, 1), P.Divider);
    auto item = std::make_unique<TbsDataSkinMenuItem>("menuitem");
    item->activepictureindex = picControls;
    item->skinrectinapicture = true;
    item->skinrect = Rw(60, 148, 60, 22);
    item->activeskinrect = Rw(60, 170, 60, 22);
    item->dividerrect = Rw(60, 192, 60, 7);
    item->itemleftoffset = 5;
    item->itemrightoffset = 5;
    item->dividerleftoffset = 5;
    item->dividerrightoffset = 5;
    // The glyph column starts at the text rectangle, the caption after it.
    item->textrect = R(8, 0, 56, 22);
    item->fontname = "Arial";
    item->fontheight = 14;
    item->fontcolor = C(P.Text);
    item->activefontcolor = C(P.Text);
    item->unenabledfontcolor = C(P.DisabledText);
    FSkin.Content.SkinObjects.push_back(std::move(item));
    p.end();
    FSkin.Content.SkinPictures[picControls] = img;

    auto& label = AddControl<TbsDataSkinStdLabelControl>("stdlabel", -1, TbsRect{});
    // The window's labels are laid out for the small dialog font.
    Fonts(label, P.Text, 12);
    label.activefontcolor = C(P.Accent);
    auto& plain = AddControl<TbsDataSkinLabelControl>("label", -1, TbsRect{});
    Fonts(plain, P.Text);
    auto& bevel = AddControl<TbsDataSkinBevel>("bevel", -1, TbsRect{});
    bevel.lightcolor = C(P.BevelLight);
    bevel.darkcolor = C(P.BevelDark);
    auto& rich = AddControl<TbsDataSkinRichEdit>("richedit", -1, TbsRect{});
    Fonts(rich, P.Text);
    rich.bgcolor = C(P.EditFill);
    auto& listview = AddControl<TbsDataSkinListView>("listview", -1, TbsRect{});
    Fonts(listview, P.Text, 13);
    listview.bgcolor = C(P.EditFill);
    auto& treeview = AddControl<TbsDataSkinTreeView>("treeview", -1, TbsRect{});
    Fonts(treeview, P.Text, 13);
    treeview.bgcolor = C(P.EditFill);
  }

  // A field with its own picture so that its button rectangles, given in
  // control coordinates, also name the right pixels of the picture.
  void SpinEdit() {
    QImage img = Canvas(50, 60, P.Panel);
    QPainter p(&img);
    for (int s = 0; s < 3; ++s) {
      QRect r(0, s * 20, 50, 20);
      RoundedBox(p, r, 2.5, P.EditFill, P.EditFill, s == 0 ? P.EditBorder : P.EditFocusBorder);
      p.fillRect(QRect(33, s * 20 + 3, 1, 14), P.EditBorder.lighter(110));
      for (int half = 0; half < 2; ++half) {
        QRect b(34, s * 20 + 1 + half * 9, 15, 9);
        if (s > 0) FillGradient(p, b.adjusted(0, half ? 0 : 1, -1, half ? -1 : 0),
                                s == 1 ? P.ButtonHoverTop : P.ButtonDownTop,
                                s == 1 ? P.ButtonHoverBottom : P.ButtonDownBottom);
        DrawArrow(p, b.translated(0, half ? 0 : 1), half ? TArrow::Down : TArrow::Up,
                  s == 2 ? P.Accent : P.Arrow);
      }
    }
    // The hover and pressed rows keep the plain border: only the button changes.
    p.end();
    FSkin.Content.SkinPictures[picSpinEdit] = img;
    auto& spin = AddControl<TbsDataSkinSpinEditControl>("spinedit", picSpinEdit, Rw(0, 0, 50, 20));
    Horizontal(spin, 4, 17, R(4, 2, 32, 18));
    Fonts(spin, P.Text, 13);
    spin.activefontcolor = C(P.Text);
    spin.disabledfontcolor = C(P.DisabledText);
    spin.activeskinrect = Rw(0, 20, 50, 20);
    spin.upbuttonrect = R(34, 1, 49, 10);
    spin.downbuttonrect = R(34, 10, 49, 19);
    spin.activeupbuttonrect = R(34, 21, 49, 30);
    spin.activedownbuttonrect = R(34, 30, 49, 39);
    spin.downupbuttonrect = R(34, 41, 49, 50);
    spin.downdownbuttonrect = R(34, 50, 49, 59);
  }

  // "buttonedit": the edit with a browse button at its right end. The
  // button's place is given in control coordinates; its hover, pressed and
  // disabled pictures lie in the rows below the field's two looks.
  void ButtonEdit() {
    constexpr int w = 60, h = 18, bx = 42;
    QImage img = Canvas(w, 5 * h, P.Panel);
    QPainter p(&img);
    for (int s = 0; s < 5; ++s) {
      const QRect r(0, s * h, w, h);
      const bool disabled = s == 4;
      RoundedBox(p, r, 2.5, disabled ? P.DisabledFill : P.EditFill, disabled ? P.DisabledFill : P.EditFill,
                 s == 1 ? P.EditFocusBorder : disabled ? P.DisabledBorder : P.EditBorder);
      const QRect b(bx, s * h + 1, w - bx - 1, h - 2);
      if (s == 2 || s == 3) {
        p.save();
        QPainterPath clip;
        clip.addRoundedRect(QRectF(r).adjusted(1, 1, -1, -1), 1.5, 1.5);
        p.setClipPath(clip);
        FillGradient(p, b, s == 2 ? P.ButtonHoverTop : P.ButtonDownTop,
                     s == 2 ? P.ButtonHoverBottom : P.ButtonDownBottom);
        p.restore();
      }
      p.fillRect(QRect(bx - 1, s * h + 3, 1, h - 6), disabled ? P.DisabledBorder : P.EditBorder);
      // Three dots: "choose ...".
      const QColor dots = disabled ? P.DisabledText : s == 3 ? P.Accent : P.Arrow;
      const int cy = s * h + h / 2;
      for (int i = 0; i < 3; ++i) p.fillRect(QRect(b.center().x() - 4 + i * 4, cy, 2, 2), dots);
    }
    p.end();
    FSkin.Content.SkinPictures[picButtonEdit] = img;
    auto& edit = AddControl<TbsDataSkinEditControl>("buttonedit", picButtonEdit, Rw(0, 0, w, h));
    Horizontal(edit, 4, w - bx + 1, R(4, 2, bx - 3, h - 2));
    Fonts(edit, P.Text, 13);
    edit.activeskinrect = Rw(0, h, w, h);
    edit.activefontcolor = C(P.Text);
    edit.disabledfontcolor = C(P.DisabledText);
    edit.buttonrect = R(bx, 1, w - 1, h - 1);
    edit.activebuttonrect = R(bx, 2 * h + 1, w - 1, 3 * h - 1);
    edit.downbuttonrect = R(bx, 3 * h + 1, w - 1, 4 * h - 1);
    edit.unenabledbuttonrect = R(bx, 4 * h + 1, w - 1, 5 * h - 1);
  }

  void ComboBox() {
    QImage img = Canvas(60, 80, P.Panel);
    QPainter p(&img);
    for (int s = 0; s < 4; ++s) {
      QRect r(0, s * 20, 60, 20);
      const bool disabled = s == 3;
      RoundedBox(p, r, 3.5, disabled ? P.DisabledFill : P.ButtonTop,
                 disabled ? P.DisabledFill : P.ButtonBottom,
                 disabled ? P.DisabledBorder : s == 0 ? P.ButtonBorder : P.ButtonHoverBorder);
      QRect b(41, s * 20 + 1, 18, 18);
      if (s == 1 || s == 2) {
        p.save();
        QPainterPath clip;
        clip.addRoundedRect(QRectF(r).adjusted(1, 1, -1, -1), 2.5, 2.5);
        p.setClipPath(clip);
        FillGradient(p, b, s == 1 ? P.ButtonHoverTop : P.ButtonDownTop,
                     s == 1 ? P.ButtonHoverBottom : P.ButtonDownBottom);
        p.restore();
      }
      p.fillRect(QRect(41, s * 20 + 4, 1, 12), disabled ? P.DisabledBorder : P.ButtonBorder);
      DrawArrow(p, b.adjusted(1, 0, 0, 0), TArrow::Down,
                disabled ? P.DisabledText : s == 2 ? P.Accent : P.Arrow);
    }
    p.end();
    FSkin.Content.SkinPictures[picComboBox] = img;
    for (const char* name : {"combobox", "toolcombobox"}) {
      auto& combo = AddControl<TbsDataSkinComboBox>(name, picComboBox, Rw(0, 0, 60, 20));
      Horizontal(combo, 4, 19, R(4, 2, 40, 18));
      Fonts(combo, P.Text, 13);
      combo.focusfontcolor = C(P.Accent);
      combo.listboxname = "listbox";
      combo.buttonrect = R(41, 1, 59, 19);
      combo.activebuttonrect = R(41, 21, 59, 39);
      combo.downbuttonrect = R(41, 41, 59, 59);
      combo.unenabledbuttonrect = R(41, 61, 59, 79);
    }
  }

  // Scroll bars: track, the two arrow buttons and a rounded thumb, each in
  // normal, hover and pressed looks.
  void ScrollBars() {
    const int n = 19, b = 17, len = 60;
    const QColor thumbs[] = {P.Thumb, P.ThumbHover, P.ThumbDown};
    {
      QImage img = Canvas(n * 4, len, P.Track);
      QPainter p(&img);
      p.fillRect(QRect(0, 0, 1, len), P.TrackLine);
      for (int s = 0; s < 3; ++s) {
        const int x = s * n;
        p.fillRect(QRect(x, 0, n, len), P.Track);
        p.fillRect(QRect(x, 0, 1, len), P.TrackLine);
        if (s > 0) {
          RoundedBox(p, QRect(x + 2, 1, n - 3, b - 2), 3, thumbs[s - 1 + 0].lighter(s == 1 ? 135 : 125),
                     thumbs[s - 1].lighter(s == 1 ? 135 : 125), thumbs[s - 1].lighter(s == 1 ? 135 : 125));
          RoundedBox(p, QRect(x + 2, len - b + 1, n - 3, b - 2), 3,
                     thumbs[s - 1].lighter(s == 1 ? 135 : 125), thumbs[s - 1].lighter(s == 1 ? 135 : 125),
                     thumbs[s - 1].lighter(s == 1 ? 135 : 125));
        }
        DrawArrow(p, QRect(x + 1, 0, n - 1, b), TArrow::Up, s == 2 ? P.Accent : P.Arrow);
        DrawArrow(p, QRect(x + 1, len - b, n - 1, b), TArrow::Down, s == 2 ? P.Accent : P.Arrow);
      }
      // Thumbs beside the bars: a pill with a one-pixel margin of track.
      const int tx = 3 * n;
      p.fillRect(QRect(tx, 0, n, len), P.Track);
      for (int s = 0; s < 3; ++s) {
        p.fillRect(QRect(tx, s * 20, 1, 20), P.TrackLine);
        RoundedBox(p, QRect(tx + 4, s * 20 + 1, n - 7, 18), 5, thumbs[s], thumbs[s], thumbs[s]);
      }
      p.end();
      FSkin.Content.SkinPictures[picVScroll] = img;
      auto& v = AddControl<TbsDataSkinScrollBarControl>("vscrollbar", picVScroll, Rw(0, 0, n, len));
      v.lefttoppoint = {0, b};
      v.leftbottompoint = {0, len - b};
      v.clientrect = R(0, b, n, len - b);
      v.trackarea = R(0, b, n, len - b);
      v.downbuttonrect = R(0, 0, n, b);  // the decreasing button, at the top
      v.upbuttonrect = R(0, len - b, n, len);
      v.activedownbuttonrect = Rw(n, 0, n, b);
      v.activeupbuttonrect = Rw(n, len - b, n, b);
      v.downdownbuttonrect = Rw(2 * n, 0, n, b);
      v.downupbuttonrect = Rw(2 * n, len - b, n, b);
      v.thumbrect = Rw(tx, 0, n, 20);
      v.activethumbrect = Rw(tx, 20, n, 20);
      v.downthumbrect = Rw(tx, 40, n, 20);
      v.thumboffset1 = 6;
      v.thumboffset2 = 6;
    }
    {
      QImage img = Canvas(len, n * 4, P.Track);
      QPainter p(&img);
      for (int s = 0; s < 3; ++s) {
        const int y = s * n;
        p.fillRect(QRect(0, y, len, n), P.Track);
        p.fillRect(QRect(0, y, len, 1), P.TrackLine);
        if (s > 0) {
          const QColor plate = thumbs[s - 1].lighter(s == 1 ? 135 : 125);
          RoundedBox(p, QRect(1, y + 2, b - 2, n - 3), 3, plate, plate, plate);
          RoundedBox(p, QRect(len - b + 1, y + 2, b - 2, n - 3), 3, plate, plate, plate);
        }
        DrawArrow(p, QRect(0, y + 1, b, n - 1), TArrow::Left, s == 2 ? P.Accent : P.Arrow);
        DrawArrow(p, QRect(len - b, y + 1, b, n - 1), TArrow::Right, s == 2 ? P.Accent : P.Arrow);
      }
      const int ty = 3 * n;
      p.fillRect(QRect(0, ty, len, n), P.Track);
      for (int s = 0; s < 3; ++s) {
        p.fillRect(QRect(s * 20, ty, 20, 1), P.TrackLine);
        RoundedBox(p, QRect(s * 20 + 1, ty + 4, 18, n - 7), 5, thumbs[s], thumbs[s], thumbs[s]);
      }
      p.end();
      FSkin.Content.SkinPictures[picHScroll] = img;
      for (const char* name : {"hscrollbar", "bothhscrollbar"}) {
        auto& h = AddControl<TbsDataSkinScrollBarControl>(name, picHScroll, Rw(0, 0, len, n));
        h.lefttoppoint = {b, 0};
        h.righttoppoint = {len - b, 0};
        h.clientrect = R(b, 0, len - b, n);
        h.trackarea = R(b, 0, len - b, n);
        h.downbuttonrect = R(0, 0, b, n);
        h.upbuttonrect = R(len - b, 0, len, n);
        h.activedownbuttonrect = Rw(0, n, b, n);
        h.activeupbuttonrect = Rw(len - b, n, b, n);
        h.downdownbuttonrect = Rw(0, 2 * n, b, n);
        h.downupbuttonrect = Rw(len - b, 2 * n, b, n);
        h.thumbrect = Rw(0, ty, 20, n);
        h.activethumbrect = Rw(20, ty, 20, n);
        h.downthumbrect = Rw(40, ty, 20, n);
        h.thumboffset1 = 6;
        h.thumboffset2 = 6;
      }
    }
  }

  void ToolMenuButton() {
    const int w = 37, h = 24;
    QImage img = Canvas(w, h * 4, P.Panel);
    QPainter p(&img);
    for (int s = 0; s < 4; ++s) {
      QRect r(0, s * h, w, h);
      if (s == 1 || s == 2) {
        RoundedBox(p, r.adjusted(1, 1, -1, -1), 4, s == 1 ? P.ButtonHoverTop : P.ButtonDownTop,
                   s == 1 ? P.ButtonHoverBottom : P.ButtonDownBottom,
                   s == 1 ? P.ButtonHoverBorder : P.ButtonDownBorder);
        p.fillRect(QRect(w - 13, s * h + 5, 1, h - 10),
                   s == 1 ? P.ButtonHoverBorder : P.ButtonDownBorder);
      }
      DrawArrow(p, QRect(w - 12, s * h, 11, h), TArrow::Down,
                s == 3 ? P.DisabledText : s == 2 ? P.Accent : P.Arrow);
    }
    p.end();
    FSkin.Content.SkinPictures[picToolMenuButton] = img;
    auto& m = AddControl<TbsDataSkinMenuButtonControl>("toolmenubutton", picToolMenuButton,
                                                       Rw(0, 0, w, h));
    NinePiece(m, 5, 5, 14, 5, R(5, 5, w - 14, h - 5));
    Fonts(m, P.Text);
    m.activefontcolor = m.downfontcolor = C(P.Text);
    m.disabledfontcolor = C(P.DisabledText);
    m.activeskinrect = Rw(0, h, w, h);
    m.downskinrect = Rw(0, 2 * h, w, h);
    m.disabledskinrect = Rw(0, 3 * h, w, h);
    m.trackbuttonrect = R(w - 13, 0, w, h);
  }

  void PopupAndHint() {
    const int s = 40;
    QImage popup = Canvas(s, s, P.MenuBorder);
    QImage popupMask = Canvas(s, s, Qt::white);
    {
      QPainter p(&popup);
      RoundedBox(p, QRect(0, 0, s, s), 5, P.MenuFill, P.MenuFill, P.MenuBorder);
      QPainterPath shape;
      shape.addRoundedRect(QRectF(0, 0, s, s), 5, 5);
      for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x)
          if (shape.contains(QPointF(x + 0.5, y + 0.5))) popupMask.setPixelColor(x, y, Qt::black);
    }
    FSkin.Content.SkinPictures[picPopup] = popup;
    FSkin.Content.SkinPictures[picPopupMask] = popupMask;
    TbsDataSkinPopupWindow& w = FSkin.PopupWindow;
    w.windowpictureindex = picPopup;
    w.maskpictureindex = picPopupMask;
    w.lefttoppoint = {8, 8};
    w.righttoppoint = {s - 8, 8};
    w.leftbottompoint = {8, s - 8};
    w.rightbottompoint = {s - 8, s - 8};
    w.itemsrect = R(3, 4, s - 3, s - 4);
    w.scrollmarkercolor = C(P.Arrow);
    w.scrollmarkeractivecolor = C(P.Accent);
    w.leftstretch = w.rightstretch = w.topstretch = w.bottomstretch = true;

    QImage hint = Canvas(s, 24, P.HintBorder);
    {
      QPainter p(&hint);
      RoundedBox(p, QRect(0, 0, s, 24), 3.5, P.HintFill, P.HintFill, P.HintBorder);
    }
    FSkin.Content.SkinPictures[picHint] = hint;
    TbsDataSkinHintWindow& h = FSkin.HintWindow;
    h.windowpictureindex = picHint;
    h.lefttoppoint = {6, 6};
    h.righttoppoint = {s - 6, 6};
    h.leftbottompoint = {6, 18};
    h.rightbottompoint = {s - 6, 18};
    h.clientrect = R(5, 3, s - 5, 21);
    h.fontname = "Arial";
    h.fontheight = 13;
    h.fontcolor = C(P.HintText);
    h.leftstretch = h.rightstretch = h.topstretch = h.bottomstretch = true;
  }

  const TSkinPalette& P;
  TbsLoadedSkin FSkin;
};

}  // namespace

TbsLoadedSkin BuildSkin(const TSkinPalette& palette) { return TBuilder(palette).Build(); }
