// Drawing of a skinned menu window: the window picture made to the window's
// size, the items, their glyphs and the scroll markers; or the plain look
// when the skin has no usable menu pictures.

#include "skin/bsEffectImage.h"
#include "skin/bsSkinMenu.h"
#include "skin/bsSkinPaint.h"

#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

#include <algorithm>

namespace {

// The unskinned look's fixed colours (0x00BBGGRR values).
const TbsColor kSelectedFrame = 8388608;
const TbsColor kSelectedFill = 13811126;

void Arrow(QPainter& p, const QRect& band, bool up, const QColor& color) {
  const int cx = band.left() + band.width() / 2, cy = band.top() + band.height() / 2;
  QPainterPath path;
  if (up) {
    path.moveTo(cx - 4, cy + 2);
    path.lineTo(cx + 4, cy + 2);
    path.lineTo(cx, cy - 2);
  } else {
    path.moveTo(cx - 4, cy - 2);
    path.lineTo(cx + 4, cy - 2);
    path.lineTo(cx, cy + 2);
  }
  path.closeSubpath();
  p.fillPath(path, color);
}

}  // namespace

QImage TbsSkinPopupWindow::ItemImage(const TbsSkinMenuItem& item, bool selected) const {
  // Every item of a window has the same width: the three images are made
  // once per width.
  const int width = item.ItemRect.width();
  if (width != FItemImageWidth) {
    const TbsDataSkinMenuItem& s = *FItemSkin;
    FItemImages[0] = bsThreePiece(FItemPicture, bsToQRect(s.skinrect), s.itemleftoffset, s.itemrightoffset, width);
    FItemImages[1] = s.activeskinrect.IsEmpty()
                         ? FItemImages[0]
                         : bsThreePiece(FItemPicture, bsToQRect(s.activeskinrect), s.itemleftoffset,
                                        s.itemrightoffset, width);
    FItemImages[2] = bsThreePiece(FItemPicture, bsToQRect(s.dividerrect), s.dividerleftoffset,
                                  s.dividerrightoffset, width);
    FItemImageWidth = width;
  }
  return FItemImages[item.Separator ? 2 : selected ? 1 : 0];
}

void TbsSkinPopupWindow::DrawGlyph(QPainter& p, const TbsSkinMenuItem& item, const QRect& column,
                                   const QColor& color) {
  const QIcon icon = item.Action ? item.Action->icon() : QIcon();
  const QPoint c = column.center();
  if (!icon.isNull()) {
    const QRect box(c.x() - 8, c.y() - 8, 16, 16);
    icon.paint(&p, box);
    if (item.Checked) {
      p.setPen(color);
      p.drawRect(box.adjusted(-1, -1, 0, 0));
    }
    return;
  }
  p.save();
  p.setPen(QPen(color, 1));
  const QString& n = item.Name;
  const QRect g(c.x() - 4, c.y() - 4, 9, 9);
  if (n == QLatin1String("BSF_CLOSE") || n == QLatin1String("TRAY_BSF_CLOSE")) {
    // Two doubled diagonals.
    p.drawLine(g.topLeft(), g.bottomRight());
    p.drawLine(g.topLeft() + QPoint(1, 0), g.bottomRight() + QPoint(0, -1));
    p.drawLine(g.topRight(), g.bottomLeft());
    p.drawLine(g.topRight() + QPoint(-1, 0), g.bottomLeft() + QPoint(0, -1));
  } else if (n == QLatin1String("BSF_MINITEM")) {
    p.fillRect(QRect(g.left(), g.bottom() - 1, g.width(), 2), color);
  } else if (n == QLatin1String("BSF_MAXITEM")) {
    p.drawRect(g.adjusted(0, 0, -1, -1));
    p.fillRect(QRect(g.left(), g.top(), g.width(), 2), color);
  } else if (n == QLatin1String("BSF_RESTORE") || n == QLatin1String("TRAY_BSF_RESTORE")) {
    const QRect back(g.left() + 2, g.top(), 7, 6), front(g.left(), g.top() + 3, 7, 6);
    p.drawRect(back.adjusted(0, 0, -1, -1));
    p.fillRect(QRect(back.left(), back.top(), back.width(), 2), color);
    p.drawRect(front.adjusted(0, 0, -1, -1));
    p.fillRect(QRect(front.left(), front.top(), front.width(), 2), color);
  } else if (n == QLatin1String("BSF_ROLLUP")) {
    QPainterPath path;
    path.moveTo(g.left(), g.bottom() - 1);
    path.lineTo(g.right() + 1, g.bottom() - 1);
    path.lineTo(g.left() + g.width() / 2.0, g.top() + 1);
    path.closeSubpath();
    p.fillPath(path, color);
  } else if (n == QLatin1String("BSF_MINTOTRAY")) {
    p.fillRect(QRect(c.x() - 2, c.y() - 2, 5, 5), color);
  } else if (item.Checked && item.Radio) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(color);
    p.drawEllipse(QPointF(c.x() + 0.5, c.y() + 0.5), 3, 3);
  } else if (item.Checked) {
    p.setPen(QPen(color, 2));
    p.drawLine(QPoint(g.left(), c.y()), QPoint(g.left() + 3, c.y() + 3));
    p.drawLine(QPoint(g.left() + 3, c.y() + 3), QPoint(g.right(), g.top() + 1));
  }
  p.restore();
}

void TbsSkinPopupWindow::DrawItem(QPainter& p, TbsSkinMenuItem& item) {
  const QRect r = item.ItemRect;
  const QPalette& pal = FPalette;
  const QFontMetrics& fm = FMetrics;
  QRect textRect;
  QColor textColor;
  QRect glyphColumn;
  if (FItemSkin) {
    const TbsDataSkinMenuItem& s = *FItemSkin;
    if (s.morphing && !item.Separator && item.MorphKf > 0 && item.MorphKf < 1) {
      TbsEffectBmp a = bsEffectBmpFromImage(ItemImage(item, false));
      a.Morph(s.morphkind, bsEffectBmpFromImage(ItemImage(item, true)), item.MorphKf);
      bsDrawEffectBmp(p, r.left(), r.top(), a);
    } else {
      p.drawImage(r.topLeft(), ItemImage(item, item.Selected));
    }
    if (item.Separator) return;
    const int growth = r.width() - s.skinrect.Width();
    textRect = QRect(r.left() + s.textrect.Left, r.top() + s.textrect.Top, s.textrect.Width() + growth,
                     s.textrect.Height());
    textColor = bsQColor(item.Selected ? s.activefontcolor : item.Enabled ? s.fontcolor : s.unenabledfontcolor);
    glyphColumn = QRect(textRect.left(), r.top(), FGlyphWidth, r.height());
  } else {
    const int column = FHasIcons ? FGlyphWidth + 5 : 19;
    if (item.Selected) {
      p.fillRect(r, bsQColor(kSelectedFill));
      p.setPen(bsQColor(kSelectedFrame));
      p.drawRect(r.adjusted(0, 0, -1, -1));
      textColor = pal.color(QPalette::Text);
    } else {
      p.fillRect(QRect(r.left(), r.top(), column, r.height()), pal.color(QPalette::Button));
      p.fillRect(QRect(r.left() + column, r.top(), r.width() - column, r.height()), pal.color(QPalette::Base));
      textColor = item.Enabled ? pal.color(QPalette::Text) : pal.color(QPalette::Dark);
    }
    if (item.Separator) {
      p.fillRect(QRect(r.left() + column, r.top() + r.height() / 2, r.width() - column, 1), pal.color(QPalette::Dark));
      return;
    }
    glyphColumn = QRect(r.left(), r.top(), column, r.height());
    textRect = QRect(r.left() + column - FGlyphWidth + 2, r.top(), r.width() - column + FGlyphWidth - 2, r.height());
  }
  DrawGlyph(p, item, glyphColumn, textColor);
  p.setPen(textColor);
  const int baseline = textRect.top() + textRect.height() / 2 - fm.height() / 2 + fm.ascent();
  const QString caption = item.PlainCaption();
  const int captionX = textRect.left() + FGlyphWidth;
  p.drawText(captionX, baseline, caption);
  // The accelerator letter is underlined as the platform's menus do.
  const int amp = item.Caption.indexOf(QLatin1Char('&'));
  if (!item.Accelerator.isNull() && amp >= 0) {
    const QString before = item.Caption.left(amp).remove(QLatin1Char('&'));
    const int x0 = captionX + fm.horizontalAdvance(before);
    const int x1 = x0 + fm.horizontalAdvance(caption.mid(before.size(), 1));
    p.drawLine(x0, baseline + 2, x1 - 1, baseline + 2);
  }
  if (!item.ShortCut.isEmpty()) {
    const int right = textRect.left() + textRect.width() - 16;
    p.drawText(right - fm.horizontalAdvance(item.ShortCut), baseline, item.ShortCut);
  }
  if (item.HasChildren) {
    const int x = r.left() + r.width() - 7;
    const int cy = r.top() + r.height() / 2;
    QPainterPath path;
    path.moveTo(x - 4, cy - 4);
    path.lineTo(x, cy);
    path.lineTo(x - 4, cy + 4);
    path.closeSubpath();
    p.fillPath(path, textColor);
  }
}

QImage TbsSkinPopupWindow::Compose() {
  const QSize s = size();
  QImage img(s, QImage::Format_RGB32);
  if (img.isNull()) return img;
  FPalette = QApplication::palette();
  const QPalette& pal = FPalette;
  if (FPopupSkin) {
    TbsNinePiece cut{FPopupSkin->lefttoppoint, FPopupSkin->righttoppoint, FPopupSkin->leftbottompoint,
                     FPopupSkin->rightbottompoint, FPopupSkin->leftstretch, FPopupSkin->rightstretch,
                     FPopupSkin->topstretch, FPopupSkin->bottomstretch};
    if (FBackground.size() != s) FBackground = bsNinePiece(FWindowPicture, cut, s);
    img = FBackground.copy();
  } else {
    img.fill(pal.color(QPalette::Base));
    QPainter p(&img);
    const int column = FHasIcons ? FGlyphWidth + 2 : 21;
    p.fillRect(QRect(0, 0, column, s.height()), pal.color(QPalette::Button));
    p.setPen(pal.color(QPalette::Dark));
    p.drawRect(0, 0, s.width() - 1, s.height() - 1);
    p.setPen(pal.color(QPalette::Base));
    p.drawRect(1, 1, s.width() - 3, s.height() - 3);
  }
  QPainter p(&img);
  p.setFont(FFont);
  p.setClipRect(FScrolling ? FItemsRect.adjusted(0, kScrollMarkerHeight, 0, -kScrollMarkerHeight) : FItemsRect);
  for (auto& item : FItems)
    if (item->Visible) DrawItem(p, *item);
  p.setClipping(false);
  if (FScrolling) {
    const QColor normal = FPopupSkin ? bsQColor(FPopupSkin->scrollmarkercolor) : pal.color(QPalette::Dark);
    const QColor active = FPopupSkin ? bsQColor(FPopupSkin->scrollmarkeractivecolor) : pal.color(QPalette::ButtonText);
    Arrow(p, TopMarker(), true, FScrollDirection < 0 ? active : normal);
    Arrow(p, BottomMarker(), false, FScrollDirection > 0 ? active : normal);
  }
  return img;
}

void TbsSkinPopupWindow::BuildRegion() {
  if (!FPopupSkin || FMaskPicture.isNull()) {
    clearMask();
    return;
  }
  TbsNinePiece cut{FPopupSkin->lefttoppoint, FPopupSkin->righttoppoint, FPopupSkin->leftbottompoint,
                   FPopupSkin->rightbottompoint, FPopupSkin->leftstretch, FPopupSkin->rightstretch,
                   FPopupSkin->topstretch, FPopupSkin->bottomstretch};
  const QRegion region = bsRegionFromMask(bsNinePiece(FMaskPicture, cut, size()));
  if (region.isEmpty()) clearMask();
  else setMask(region);
}
