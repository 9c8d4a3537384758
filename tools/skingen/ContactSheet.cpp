#include "tools/skingen/ContactSheet.h"

#include <QFont>
#include <QPainter>

namespace {

QRect Q(const TbsRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }
QColor FromSkin(TbsColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// Repeats src across dst, the last copy cut at dst's edge.
void Tile(QPainter& p, const QRect& dst, const QImage& img, const QRect& src) {
  if (dst.width() <= 0 || dst.height() <= 0 || src.width() <= 0 || src.height() <= 0) return;
  for (int y = dst.top(); y <= dst.bottom(); y += src.height()) {
    for (int x = dst.left(); x <= dst.right(); x += src.width()) {
      const int w = std::min(src.width(), dst.right() + 1 - x);
      const int h = std::min(src.height(), dst.bottom() + 1 - y);
      p.drawImage(QPoint(x, y), img, QRect(src.topLeft(), QSize(w, h)));
    }
  }
}

// A control image at any size: fixed corners, repeated edges and middle.
void Pieces(QPainter& p, const QRect& dst, const QImage& img, const QRect& s, int l, int t, int r,
            int b) {
  const int mw = s.width() - l - r, mh = s.height() - t - b;
  const int dw = dst.width() - l - r, dh = dst.height() - t - b;
  auto part = [&](int sx, int sy, int sw, int sh, int dx, int dy, int w, int h) {
    Tile(p, QRect(dst.left() + dx, dst.top() + dy, w, h), img,
         QRect(s.left() + sx, s.top() + sy, sw, sh));
  };
  part(0, 0, l, t, 0, 0, l, t);
  part(l, 0, mw, t, l, 0, dw, t);
  part(l + mw, 0, r, t, l + dw, 0, r, t);
  part(0, t, l, mh, 0, t, l, dh);
  part(l, t, mw, mh, l, t, dw, dh);
  part(l + mw, t, r, mh, l + dw, t, r, dh);
  part(0, t + mh, l, b, 0, t + dh, l, b);
  part(l, t + mh, mw, b, l, t + dh, dw, b);
  part(l + mw, t + mh, r, b, l + dw, t + dh, r, b);
}

template <class T>
const T* Control(const TbsSkinContent& c, const char* name) {
  for (const auto& e : c.SkinControls)
    if (e->IDName == name) return dynamic_cast<const T*>(e.get());
  return nullptr;
}

template <class T>
const T* Object(const TbsSkinContent& c, const char* name) {
  for (const auto& e : c.SkinObjects)
    if (e->IDName == name) return dynamic_cast<const T*>(e.get());
  return nullptr;
}

QFont Font(const std::string& name, int px, TbsFontStyles style) {
  QFont f(QString::fromStdString(name));
  f.setPixelSize(px);
  f.setBold(style & fsBold);
  return f;
}

// Draws a custom control from its entry at the given size.
void DrawControl(QPainter& p, const TbsSkinContent& c, const TbsDataSkinCustomControl& e,
                 QRect dst, const TbsRect* state = nullptr) {
  const QImage* img = c.ActivePicture(e.pictureindex);
  if (!img) return;
  QRect src = Q(state && !state->IsEmpty() ? *state : e.skinrect);
  const int l = e.lefttoppoint.X, t = e.lefttoppoint.Y;
  const int r = e.skinrect.Width() - (e.righttoppoint.X ? e.righttoppoint.X : e.skinrect.Width());
  int b = e.leftbottompoint.Y ? e.skinrect.Height() - e.leftbottompoint.Y : 0;
  if (e.rightbottompoint.X && e.rightbottompoint.Y) {
    Pieces(p, dst, *img, src, l, t, r, b);
  } else if (e.righttoppoint.X || e.righttoppoint.Y) {
    Pieces(p, QRect(dst.topLeft(), QSize(dst.width(), src.height())), *img, src, l, 0, r, 0);
  } else {
    Pieces(p, QRect(dst.topLeft(), QSize(src.width(), dst.height())), *img, src, 0, t, 0, b);
  }
}

void Text(QPainter& p, const QRect& r, const QString& s, const QFont& f, const QColor& c,
          int flags = Qt::AlignVCenter | Qt::AlignHCenter) {
  p.setFont(f);
  p.setPen(c);
  p.drawText(r, flags, s);
}

void Button(QPainter& p, const TbsSkinContent& c, QRect r, const QString& caption, int state = 0) {
  const auto* b = Control<TbsDataSkinButtonControl>(c, "button");
  if (!b) return;
  const TbsRect* rects[] = {&b->skinrect, &b->activeskinrect, &b->downskinrect, &b->disabledskinrect};
  DrawControl(p, c, *b, r, rects[state]);
  Text(p, QRect(r.left(), r.top() + (state == 2 ? 1 : 0), r.width(), b->skinrect.Height()), caption,
       Font(b->fontname, b->fontheight, b->fontstyle),
       FromSkin(state == 3 ? b->disabledfontcolor : b->fontcolor));
}

QImage Preview(const TbsLoadedSkin& skin) {
  const TbsSkinContent& c = skin.Content;
  const int W = 640, H = 420;
  QImage img(W, H, QImage::Format_RGB32);
  img.fill(QColor("#7f8a99"));
  QPainter p(&img);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  const QImage& frame = c.FramePicture;
  const int PW = frame.width(), PH = frame.height();
  const int dx = W - PW;
  // Frame: corners fixed, borders stretched (the skin asks for stretching).
  const TbsRect& cr = c.clientrect;
  const int L = c.lefttoppoint.X, T = cr.Top, R = PW - c.righttoppoint.X, B = PH - cr.Bottom;
  auto stretch = [&](QRect dst, QRect src) { p.drawImage(dst, frame, src); };
  stretch(QRect(0, 0, L, T), QRect(0, 0, L, T));
  stretch(QRect(L, 0, W - L - R, T), QRect(L, 0, PW - L - R, T));
  stretch(QRect(W - R, 0, R, T), QRect(PW - R, 0, R, T));
  stretch(QRect(0, T, cr.Left, H - T - B), QRect(0, T, cr.Left, PH - T - B));
  stretch(QRect(W - (PW - cr.Right), T, PW - cr.Right, H - T - B),
          QRect(cr.Right, T, PW - cr.Right, PH - T - B));
  stretch(QRect(0, H - B, L, B), QRect(0, PH - B, L, B));
  stretch(QRect(L, H - B, W - L - R, B), QRect(L, PH - B, PW - L - R, B));
  stretch(QRect(W - R, H - B, R, B), QRect(PW - R, PH - B, R, B));
  // Mask: outside pixels show the desktop.
  for (int y = 0; y < std::min(PH, 12); ++y) {
    for (int x = 0; x < 12; ++x) {
      if (c.FrameMask.pixelColor(x, y) != Qt::black) img.setPixelColor(x, y, QColor("#7f8a99"));
      if (c.FrameMask.pixelColor(PW - 1 - x, y) != Qt::black)
        img.setPixelColor(W - 1 - x, y, QColor("#7f8a99"));
    }
  }
  // Caption buttons from the right, system menu at the left, caption between.
  const QImage* sheet = c.ActivePicture(0);
  QRect area = Q(c.captionrect);
  area.setWidth(area.width() + dx);
  int x = area.right() + 1;
  for (const char* name : {"closebutton", "maxbutton", "minbutton"}) {
    const auto* o = Object<TbsDataSkinStdButton>(c, name);
    x -= o->skinrect.Width();
    const TbsRect& src = std::string(name) == "minbutton" ? o->activeskinrect : o->skinrect;
    p.drawImage(QPoint(x, area.top()), *sheet, Q(src));
    x -= c.buttonsoffset;
  }
  const auto* sys = Object<TbsDataSkinStdButton>(c, "sysmenubutton");
  p.drawImage(QPoint(area.left(), area.top() + area.height() / 2 - sys->skinrect.Height() / 2),
              *sheet, Q(sys->skinrect));
  const auto* cap = Object<TbsDataSkinCaption>(c, "caption");
  QRect text(area.left() + sys->skinrect.Width() + cap->textrect.Left - 2, area.top(),
             x - area.left(), area.height());
  Text(p, text, "Tellivo Rasp", Font(cap->fontname, cap->fontheight, cap->fontstyle),
       FromSkin(cap->activefontcolor), Qt::AlignVCenter | Qt::AlignLeft);

  // Client: tool bar, two article cards, footer.
  const QRect client(cr.Left, cr.Top, W - cr.Left - (PW - cr.Right), H - cr.Top - (PH - cr.Bottom));
  const auto* panel = Control<TbsDataSkinCustomControl>(c, "panel");
  DrawControl(p, c, *panel, client);
  const auto* toolpanel = Control<TbsDataSkinCustomControl>(c, "toolpanel");
  DrawControl(p, c, *toolpanel, QRect(client.left(), client.top(), client.width(), 33));
  const char* tools[] = {"Compare", "Help", "Check Updates", "Make Money"};
  for (int i = 0; i < 4; ++i)
    Button(p, c, QRect(client.left() + 7 + i * 104, client.top() + 6, 98, 21), tools[i], i == 1 ? 1 : 0);

  const auto* group = Control<TbsDataSkinPanelControl>(c, "groupbox");
  const auto* vbar = Control<TbsDataSkinScrollBarControl>(c, "vscrollbar");
  const auto* rich = Control<TbsDataSkinRichEdit>(c, "richedit");
  const int top = client.top() + 40, bottom = client.bottom() - 64;
  const int half = (client.width() - 20) / 2;
  for (int i = 0; i < 2; ++i) {
    QRect g(client.left() + 7 + i * (half + 6), top, half, bottom - top);
    DrawControl(p, c, *group, g);
    Text(p, QRect(g.left() + group->captionrect.Left, g.top(), 200, group->captionrect.Height()),
         i ? "Article 2" : "Article 1", Font(group->fontname, group->fontheight, group->fontstyle),
         FromSkin(group->fontcolor), Qt::AlignVCenter | Qt::AlignLeft);
    QRect pane(g.left() + 8, g.top() + 62, g.width() - 16, g.height() - 70);
    p.fillRect(pane, FromSkin(rich->bgcolor));
    p.setPen(FromSkin(Control<TbsDataSkinBevel>(c, "bevel")->darkcolor));
    p.drawRect(pane.adjusted(0, 0, -1, -1));
    Text(p, pane.adjusted(8, 6, -26, 0),
         i ? "Every run that both articles share\nis highlighted in one colour."
           : "Paste or import an article here.\nDuplicate runs are highlighted.",
         Font(rich->fontname, rich->fontheight, 0), FromSkin(rich->fontcolor),
         Qt::AlignTop | Qt::AlignLeft);
    QRect bar(pane.right() - 18, pane.top() + 1, 19 - 1, pane.height() - 2);
    DrawControl(p, c, *vbar, QRect(pane.right() - 19, pane.top() + 1, 19, pane.height() - 2));
    const QImage* vs = c.ActivePicture(vbar->pictureindex);
    p.drawImage(QRect(pane.right() - 19, pane.top() + 20, 19, 40), *vs, Q(vbar->thumbrect));
    (void)bar;
    Button(p, c, QRect(g.left() + 8, g.top() + 32, 96, 21), "Import", i == 0 ? 2 : 0);
    Button(p, c, QRect(g.left() + 110, g.top() + 32, 130, 21), "Clear Highlighting", i == 1 ? 3 : 0);
  }
  // Footer: label, numeric edit, spin edit, combo box.
  const auto* label = Control<TbsDataSkinStdLabelControl>(c, "stdlabel");
  const int fy = client.bottom() - 52;
  Text(p, QRect(client.left() + 13, fy, 120, 18), "Duplicate Content",
       Font(label->fontname, label->fontheight, 0), FromSkin(label->fontcolor),
       Qt::AlignVCenter | Qt::AlignLeft);
  const auto* edit = Control<TbsDataSkinEditControl>(c, "edit");
  DrawControl(p, c, *edit, QRect(client.left() + 130, fy, 49, 18));
  Text(p, QRect(client.left() + 134, fy, 41, 18), "42", Font(edit->fontname, edit->fontheight, 0),
       FromSkin(edit->fontcolor), Qt::AlignVCenter | Qt::AlignRight);
  const auto* spin = Control<TbsDataSkinSpinEditControl>(c, "spinedit");
  DrawControl(p, c, *spin, QRect(client.left() + 300, fy - 1, 49, 20), &spin->activeskinrect);
  Text(p, QRect(client.left() + 305, fy - 1, 20, 20), "3", Font(spin->fontname, spin->fontheight, 0),
       FromSkin(spin->fontcolor), Qt::AlignVCenter | Qt::AlignLeft);
  const auto* combo = Control<TbsDataSkinComboBox>(c, "combobox");
  DrawControl(p, c, *combo, QRect(client.left() + 360, fy - 1, 145, 20));
  const QImage* cs = c.ActivePicture(combo->pictureindex);
  p.drawImage(QPoint(client.left() + 360 + 145 - 60 + combo->buttonrect.Left, fy - 1 + combo->buttonrect.Top),
              *cs, Q(combo->buttonrect));
  Text(p, QRect(client.left() + 366, fy - 1, 100, 20), "Word(s)",
       Font(combo->fontname, combo->fontheight, 0), FromSkin(combo->fontcolor),
       Qt::AlignVCenter | Qt::AlignLeft);
  Text(p, QRect(client.left() + 13, fy + 26, 200, 18), "Get more from Tellivo",
       Font(label->fontname, label->fontheight, fsUnderline), FromSkin(label->activefontcolor),
       Qt::AlignVCenter | Qt::AlignLeft);
  // An open system menu.
  const QImage* pop = c.ActivePicture(skin.PopupWindow.windowpictureindex);
  const auto* item = Object<TbsDataSkinMenuItem>(c, "menuitem");
  if (pop && item) {
    QRect menu(150, 170, 150, 4 * item->skinrect.Height() + item->dividerrect.Height() + 8);
    const auto& w = skin.PopupWindow;
    Pieces(p, menu, *pop, QRect(0, 0, pop->width(), pop->height()), w.lefttoppoint.X,
           w.lefttoppoint.Y, pop->width() - w.righttoppoint.X, pop->height() - w.leftbottompoint.Y);
    const QImage* items = c.ActivePicture(item->activepictureindex);
    int y = menu.top() + 4;
    const char* captions[] = {"Undo", "Cut", "Copy", "-", "Paste"};
    for (int i = 0; i < 5; ++i) {
      const bool divider = captions[i][0] == '-';
      const TbsRect& src = divider ? item->dividerrect : i == 2 ? item->activeskinrect : item->skinrect;
      Pieces(p, QRect(menu.left() + 3, y, menu.width() - 6, src.Height()), *items, Q(src),
             item->itemleftoffset, 0, item->itemrightoffset, 0);
      if (!divider)
        Text(p, QRect(menu.left() + 3 + item->textrect.Left, y, 100, src.Height()), captions[i],
             Font(item->fontname, item->fontheight, 0),
             FromSkin(i == 0 ? item->unenabledfontcolor : item->fontcolor),
             Qt::AlignVCenter | Qt::AlignLeft);
      y += src.Height();
    }
  }
  return img;
}

}  // namespace

QImage RenderContactSheet(const TbsLoadedSkin& skin) {
  const TbsSkinContent& c = skin.Content;
  std::vector<std::pair<QString, QImage>> pictures;
  pictures.emplace_back(QString::fromStdString(c.FramePictureName), c.FramePicture);
  pictures.emplace_back(QString::fromStdString(c.FrameMaskName), c.FrameMask);
  for (std::size_t i = 0; i < c.SkinPictures.size(); ++i) {
    const QString name = i < c.SkinPictureNames.size()
                             ? QString::fromStdString(c.SkinPictureNames[i])
                             : QString("picture %1").arg(i);
    pictures.emplace_back(QString("%1: %2").arg(i).arg(name), c.SkinPictures[i]);
  }
  const QImage preview = Preview(skin);
  const int margin = 24, scale = 2;
  // The frame pictures and the two big sheets in one column, the rest beside it.
  std::vector<QPoint> places;
  int columnX = margin * 2 + preview.width(), y = 70, maxY = 0, columnW = 0;
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    if (i == 4) {
      columnX += columnW + 40;
      y = 70;
      columnW = 0;
    }
    const QImage& image = pictures[i].second;
    places.emplace_back(columnX, y);
    y += image.height() * scale + 24 + 14;
    maxY = std::max(maxY, y);
    columnW = std::max({columnW, image.width() * scale + 8, 220});
  }
  const int W = columnX + columnW + margin;
  const int H = std::max(maxY, 70 + preview.height()) + margin;
  QImage sheet(W, H, QImage::Format_RGB32);
  sheet.fill(QColor("#e9edf2"));
  QPainter p(&sheet);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  QFont title("Arial");
  title.setPixelSize(22);
  title.setBold(true);
  Text(p, QRect(margin, 18, W, 30), QString::fromStdString(c.skinname) + " — skin contact sheet",
       title, QColor("#1f2937"), Qt::AlignLeft | Qt::AlignVCenter);
  QFont small("Arial");
  small.setPixelSize(12);
  p.drawImage(QPoint(margin, 70), preview);
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const auto& [name, image] = pictures[i];
    const QPoint at = places[i];
    Text(p, QRect(at.x(), at.y(), 400, 18),
         QString("%1  (%2 × %3)").arg(name).arg(image.width()).arg(image.height()), small,
         QColor("#374151"), Qt::AlignLeft | Qt::AlignVCenter);
    const QRect target(at.x(), at.y() + 20, image.width() * scale, image.height() * scale);
    // A checker behind the picture shows its exact edges.
    for (int cy = target.top() - 4; cy < target.bottom() + 5; cy += 8)
      for (int cx = target.left() - 4; cx < target.right() + 5; cx += 8)
        p.fillRect(QRect(cx, cy, 8, 8).intersected(target.adjusted(-4, -4, 4, 4)),
                   ((cx + cy) / 8) % 2 ? QColor("#d5dbe3") : QColor("#f7f9fb"));
    p.drawImage(target, image.scaled(target.size()));
  }
  return sheet;
}
