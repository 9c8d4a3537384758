// Painting the frame: the skin's four strips with the caption objects, the
// client background, and the plain frame drawn without a skin.

#include "skin/bsSkinForm.h"

#include "skin/bsEffectImage.h"
#include "skin/bsSkinData.h"

#include <QPainter>
#include <QPalette>
#include <QWidget>

namespace {

QRect Q(const TbsRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

void TileInto(QPainter& p, const QRect& area, const QImage& img, const QRect& source) {
  if (source.isEmpty() || area.isEmpty()) return;
  p.save();
  p.setClipRect(area);
  for (int y = area.top(); y <= area.bottom(); y += source.height())
    for (int x = area.left(); x <= area.right(); x += source.width()) p.drawImage(QPoint(x, y), img, source);
  p.restore();
}

QImage Inactive(const QImage& strip, TbsEffect effect, TbsNoiseRandom& noise) {
  if (strip.isNull()) return strip;
  TbsEffectBmp bmp = bsEffectBmpFromImage(strip);
  bmp.ApplyInactiveEffect(effect, noise);
  return bsEffectBmpView(bmp).convertToFormat(QImage::Format_RGB32);
}

}  // namespace

void TbsSkinForm::PaintFrame(QPainter& p) {
  if (!FSkinSupport) {
    PaintUnskinned(p);
    return;
  }
  const TbsSize min = MinSize();
  if (FForm->width() < min.Width || FForm->height() < min.Height) return;
  const TbsFrameLayout l = Layout();
  FObjects->Place(l);
  const bool active = FormActive();
  const QImage& source = active || FInactivePicture.isNull() ? FFramePicture : FInactivePicture;
  TbsFrameStrips strips = bsComposeFrameStrips(*FSkinData, source, l);
  if (!active && FSkinData->autorenderinginactiveimage) {
    strips.Top = Inactive(strips.Top, FSkinData->inactiveeffect, FNoise);
    strips.Left = Inactive(strips.Left, FSkinData->inactiveeffect, FNoise);
    strips.Right = Inactive(strips.Right, FSkinData->inactiveeffect, FNoise);
    strips.Bottom = Inactive(strips.Bottom, FSkinData->inactiveeffect, FNoise);
  }
  bsDrawFrameStrips(p, strips, l);
  // The objects go on the band only, never over the controls.
  p.save();
  p.setClipRegion(QRegion(0, 0, l.Width, l.Height) - QRegion(Q(l.ClientRect)));
  FObjects->Draw(p, false);
  p.restore();
  PaintClientBackground(p, l);
}

void TbsSkinForm::PaintClientBackground(QPainter& p, const TbsFrameLayout& l) {
  const QRect client = Q(l.ClientRect);
  if (const QImage* bg = FSkinData->ActivePicture(FSkinData->bgpictureindex)) {
    TileInto(p, client, *bg, bg->rect());
  } else if (!FSkinData->clientrect.IsEmpty()) {
    TileInto(p, client, FFramePicture, Q(FSkinData->clientrect));
  } else {
    p.fillRect(client, FForm->palette().color(QPalette::Button));
  }
}

int TbsSkinForm::UnskinnedButtonAt(QPoint pt) const {
  if (FSkinSupport) return -1;
  const auto buttons = bsUnskinnedButtons(FForm->width(), State(), FOptions.BorderIcons,
                                          FOptions.HideCaptionButtons);
  for (std::size_t i = 0; i < buttons.size(); ++i)
    if (Q(buttons[i].Rect).contains(pt)) return int(i);
  return -1;
}

void TbsSkinForm::PaintUnskinned(QPainter& p) {
  const QPalette pal = FForm->palette();
  const int w = FForm->width(), h = FForm->height();
  auto ring = [&](int inset, const QColor& topLeft, const QColor& bottomRight) {
    const QRect r(inset, inset, w - 2 * inset, h - 2 * inset);
    if (r.width() <= 0 || r.height() <= 0) return;
    p.fillRect(r.left(), r.top(), r.width(), 1, topLeft);
    p.fillRect(r.left(), r.top(), 1, r.height(), topLeft);
    p.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
    p.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
  };
  ring(0, pal.color(QPalette::Light), pal.color(QPalette::Shadow));
  ring(1, pal.color(QPalette::Midlight), pal.color(QPalette::Dark));
  ring(2, pal.color(QPalette::Button), pal.color(QPalette::Button));

  const QRect bar = Q(bsUnskinnedCaptionBar(w, ToolWindow));
  p.fillRect(bar, pal.color(QPalette::Button));
  const auto buttons = bsUnskinnedButtons(w, State(), FOptions.BorderIcons, FOptions.HideCaptionButtons);
  int leftEnd = bar.left(), rightEnd = bar.right() + 1;
  for (const auto& b : buttons) {
    if (b.Command == TbsCommand::cmSysMenu) leftEnd = std::max(leftEnd, b.Rect.Right + 2);
    else rightEnd = std::min(rightEnd, b.Rect.Left - 2);
  }
  // Grip lines between the system-menu button and the others.
  for (int y = bar.top() + 2; y < bar.bottom() + 1 - 4; y += 2) {
    p.fillRect(leftEnd, y, rightEnd - leftEnd, 1, pal.color(QPalette::Light));
    p.fillRect(leftEnd, y + 1, rightEnd - leftEnd, 1, pal.color(QPalette::Dark));
  }
  const QFont font = FormActive() ? DefCaptionFont : DefInActiveCaptionFont;
  p.setFont(font);
  const QFontMetrics fm(font);
  const QString text = fm.elidedText(FormCaption(), Qt::ElideRight, std::max(0, rightEnd - leftEnd - 8));
  const QRect textRect((leftEnd + rightEnd) / 2 - (fm.horizontalAdvance(text) + 8) / 2, bar.top(),
                       fm.horizontalAdvance(text) + 8, bar.height());
  if (!text.isEmpty()) {
    p.fillRect(textRect, pal.color(QPalette::Button));
    p.setPen(FormActive() ? pal.color(QPalette::ButtonText) : pal.color(QPalette::Dark));
    p.drawText(textRect, Qt::AlignCenter, text);
  }
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const QRect r = Q(buttons[i].Rect);
    const bool down = int(i) == FUnskinnedDown;
    p.fillRect(r, pal.color(QPalette::Button));
    p.setPen(down ? pal.color(QPalette::Dark) : pal.color(QPalette::Light));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(down ? pal.color(QPalette::Light) : pal.color(QPalette::Dark));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(QPen(pal.color(QPalette::ButtonText), 1));
    const QRect g = r.adjusted(4, 4, -4, -4).translated(down ? 1 : 0, down ? 1 : 0);
    switch (buttons[i].Command) {
      case TbsCommand::cmClose:
        p.drawLine(g.topLeft(), g.bottomRight());
        p.drawLine(g.topRight(), g.bottomLeft());
        break;
      case TbsCommand::cmMaximize:
        p.drawRect(g.adjusted(0, 0, -1, -1));
        p.drawLine(g.left(), g.top() + 1, g.right(), g.top() + 1);
        break;
      case TbsCommand::cmMinimize: p.drawLine(g.left(), g.bottom(), g.right(), g.bottom()); break;
      case TbsCommand::cmRollUp: p.drawLine(g.left(), g.top() + 2, g.right(), g.top() + 2); break;
      case TbsCommand::cmMinimizeToTray: p.drawRect(g.adjusted(2, 4, -2, 0)); break;
      case TbsCommand::cmSysMenu: {
        const QIcon icon = FormIcon();
        if (!icon.isNull()) icon.paint(&p, r.adjusted(1, 1, -1, -1));
        else p.drawRect(g.adjusted(0, 2, -1, -2));
        break;
      }
      case TbsCommand::cmDefault: break;
    }
  }
}
