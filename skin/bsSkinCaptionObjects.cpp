#include "skin/bsSkinCaptionObjects.h"

#include "skin/bsEffectImage.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinFrameObjects.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

TbsActiveSkinObject::TbsActiveSkinObject(TbsSkinFrameObjects& owner, TbsSkinData& skin,
                                         TbsDataSkinObject& data)
    : IDName(QString::fromStdString(data.IDName)), Hint(QString::fromStdString(data.hint)),
      SkinRectInAPicture(data.skinrectinapicture), SkinRect(data.skinrect),
      ActiveSkinRect(data.activeskinrect), InActiveSkinRect(data.inactiveskinrect),
      Morphing(data.morphing), MorphKind(data.morphkind), FOwner(owner), FSkin(skin) {
  ActivePicture = skin.ActivePicture(data.activepictureindex);
  if (!ActivePicture) ActiveSkinRect = TbsRect{};
  if (ActiveSkinRect.IsEmpty()) Morphing = false;
  ObjectRect = bsToQRect(SkinRect);
}

bool TbsActiveSkinObject::NeedsMorph() const { return Active ? MorphKf < 1 : MorphKf > 0; }

bool TbsActiveSkinObject::MorphStep() {
  if (!NeedsMorph()) return false;
  MorphKf = std::clamp(MorphKf + (Active ? 0.2 : -0.2), 0.0, 1.0);
  // Five steps of 0.2 add up to a hair below 1 in binary; finish exactly.
  if (MorphKf > 0.999) MorphKf = 1;
  if (MorphKf < 0.001) MorphKf = 0;
  return true;
}

void TbsActiveSkinObject::Reset() {
  Active = false;
  MouseIn = false;
  MorphKf = 0;
}

void TbsActiveSkinObject::Redraw() { FOwner.Host().FrameRedraw(ObjectRect); }

void TbsActiveSkinObject::DrawPart(QPainter& p, const TbsRect& source) {
  const QImage* picture = SkinRectInAPicture ? ActivePicture : &FSkin.FramePicture;
  if (!picture || picture->isNull() || source.IsEmpty()) return;
  p.drawImage(ObjectRect.topLeft(), *picture, bsToQRect(source));
}

void TbsActiveSkinObject::DrawImages(QPainter& p, bool fullPaint, const TbsRect& normal,
                                     const TbsRect& hover, const TbsRect& inactive) {
  const QImage* picture = SkinRectInAPicture ? ActivePicture : &FSkin.FramePicture;
  if (!FOwner.Host().FormActive() && Enabled && !inactive.IsEmpty()) {
    DrawPart(p, inactive);
  } else if (Morphing && !hover.IsEmpty() && picture && (NeedsMorph() || (MorphKf > 0 && MorphKf < 1))) {
    TbsEffectBmp a = bsEffectBmpFromImage(*picture, bsToQRect(normal));
    const TbsEffectBmp b = bsEffectBmpFromImage(*picture, bsToQRect(hover));
    a.Morph(MorphKind, b, MorphKf);
    bsDrawEffectBmp(p, ObjectRect.left(), ObjectRect.top(), a);
  } else if (!Active || hover.IsEmpty()) {
    if (SkinRectInAPicture || fullPaint) DrawPart(p, normal);
  } else {
    DrawPart(p, hover);
  }
}

void TbsActiveSkinObject::Draw(QPainter& p, bool fullPaint) {
  DrawImages(p, fullPaint, SkinRect, ActiveSkinRect, InActiveSkinRect);
}

void TbsActiveSkinObject::DblClick() {}

void TbsActiveSkinObject::MouseDown(int x, int y, Qt::MouseButton button) {
  FOwner.Host().FrameMouseDownEvent(IDName, x, y, ObjectRect, button);
}

void TbsActiveSkinObject::MouseUp(int x, int y, Qt::MouseButton button) {
  FOwner.Host().FrameMouseUpEvent(IDName, x, y, ObjectRect, button);
}

void TbsActiveSkinObject::MouseMove(int x, int y) {
  FOwner.Host().FrameMouseMoveEvent(IDName, x, y, ObjectRect);
}

void TbsActiveSkinObject::MouseEnter() {
  MouseIn = true;
  Active = true;
  if (Morphing) FOwner.StartMorph();
  else Redraw();
  FOwner.Host().FrameMouseEnterEvent(IDName);
}

void TbsActiveSkinObject::MouseLeave() {
  MouseIn = false;
  Active = false;
  if (Morphing) FOwner.StartMorph();
  else Redraw();
  FOwner.Host().FrameMouseLeaveEvent(IDName);
}

// ---------------------------------------------------------------------------

TbsSkinButtonObject::TbsSkinButtonObject(TbsSkinFrameObjects& owner, TbsSkinData& skin,
                                         TbsDataSkinButton& data)
    : TbsActiveSkinObject(owner, skin, data), DownRect(data.downrect),
      DisableSkinRect(data.disableskinrsect) {}

void TbsSkinButtonObject::DrawButton(QPainter& p, bool fullPaint, const TbsRect& normal,
                                     const TbsRect& hover, const TbsRect& down,
                                     const TbsRect& inactive) {
  if (!Enabled && !DisableSkinRect.IsEmpty()) DrawPart(p, DisableSkinRect);
  else if (FDown && MouseIn && !down.IsEmpty()) DrawPart(p, down);
  else if (MenuOpen && !down.IsEmpty()) DrawPart(p, down);
  else DrawImages(p, fullPaint, normal, hover, inactive);
}

void TbsSkinButtonObject::Draw(QPainter& p, bool fullPaint) {
  DrawButton(p, fullPaint, SkinRect, ActiveSkinRect, DownRect, InActiveSkinRect);
}

void TbsSkinButtonObject::MouseDown(int x, int y, Qt::MouseButton button) {
  if (button == Qt::LeftButton && Enabled) {
    FDown = true;
    Redraw();
  }
  TbsActiveSkinObject::MouseDown(x, y, button);
}

void TbsSkinButtonObject::MouseUp(int x, int y, Qt::MouseButton button) {
  if (MenuOpen) return;  // stays pressed until its menu closes
  const bool wasDown = FDown;
  FDown = false;
  Redraw();
  const bool over = ObjectRect.contains(x, y);
  TbsActiveSkinObject::MouseUp(x, y, button);
  // The command may close and destroy the form: nothing is touched after it.
  if (button == Qt::LeftButton && wasDown && over && Enabled) ButtonCommand();
}

void TbsSkinButtonObject::MouseEnter() {
  TbsActiveSkinObject::MouseEnter();
  if (FDown) Redraw();
}

void TbsSkinButtonObject::MouseLeave() {
  TbsActiveSkinObject::MouseLeave();
  if (FDown) Redraw();
}

void TbsSkinButtonObject::Reset() {
  TbsActiveSkinObject::Reset();
  if (!MenuOpen) FDown = false;
}

// ---------------------------------------------------------------------------

TbsSkinStdButtonObject::TbsSkinStdButtonObject(TbsSkinFrameObjects& owner, TbsSkinData& skin,
                                               TbsDataSkinStdButton& data)
    : TbsSkinButtonObject(owner, skin, data), Command(data.command), RestoreRect(data.restorerect),
      RestoreActiveRect(data.restoreactiverect), RestoreDownRect(data.restoredownrect),
      RestoreInActiveRect(data.restoreinactiverect) {
  if (Command == TbsCommand::cmSysMenu && owner.Options().ShowIcon) {
    ObjectRect.setSize(QSize(owner.Options().SmallIconSize, owner.Options().SmallIconSize));
  }
}

bool TbsSkinStdButtonObject::StateOn() const {
  const TbsSkinFrameHost& h = const_cast<TbsSkinFrameObjects&>(FOwner).Host();
  switch (Command) {
    case TbsCommand::cmMaximize: return h.FormMaximized();
    case TbsCommand::cmMinimize: return h.FormMinimized();
    case TbsCommand::cmRollUp: return h.FormRolledUp();
    default: return false;
  }
}

void TbsSkinStdButtonObject::Draw(QPainter& p, bool fullPaint) {
  if (Command == TbsCommand::cmSysMenu && FOwner.Options().ShowIcon) {
    const QIcon icon = FOwner.Host().FormIcon();
    if (!icon.isNull()) {
      icon.paint(&p, ObjectRect);
      return;
    }
  }
  if (StateOn() && !RestoreRect.IsEmpty()) {
    DrawButton(p, fullPaint, RestoreRect, RestoreActiveRect, RestoreDownRect, RestoreInActiveRect);
  } else {
    TbsSkinButtonObject::Draw(p, fullPaint);
  }
}

void TbsSkinStdButtonObject::DblClick() {
  if (Command == TbsCommand::cmSysMenu) FOwner.Host().FrameClose();
}

void TbsSkinStdButtonObject::MouseDown(int x, int y, Qt::MouseButton button) {
  TbsSkinButtonObject::MouseDown(x, y, button);
  if (Command == TbsCommand::cmSysMenu && button == Qt::LeftButton && Enabled) {
    MenuOpen = true;
    FOwner.Host().FrameShowSystemMenu(ObjectRect);
  }
}

void TbsSkinStdButtonObject::ButtonCommand() { FOwner.RunCommand(Command); }

// ---------------------------------------------------------------------------

TbsSkinCaptionObject::TbsSkinCaptionObject(TbsSkinFrameObjects& owner, TbsSkinData& skin,
                                           TbsDataSkinCaption& data)
    : TbsActiveSkinObject(owner, skin, data),
      Font(bsSkinFont(data.fontname, data.fontheight, data.fontstyle)), FontColor(data.fontcolor),
      ActiveFontColor(data.activefontcolor), Alignment(data.alignment), TextRect(data.textrect),
      Shadow(data.shadow), ShadowColor(data.shadowcolor), ActiveShadowColor(data.activeshadowcolor),
      FrameRect(data.framerect), ActiveFrameRect(data.activeframerect),
      FrameTextRect(data.frametextrect), FrameLeftOffset(data.frameleftoffset),
      FrameRightOffset(data.framerightoffset) {}

bool TbsSkinCaptionObject::NeedsMorph() const {
  return Morphing && TbsActiveSkinObject::NeedsMorph();
}

void TbsSkinCaptionObject::MouseEnter() {
  MouseIn = true;
  FOwner.Host().FrameMouseEnterEvent(IDName);
}

void TbsSkinCaptionObject::MouseLeave() {
  MouseIn = false;
  FOwner.Host().FrameMouseLeaveEvent(IDName);
}

QRect TbsSkinCaptionObject::TextArea() const {
  const int growth = ObjectRect.width() - SkinRect.Width();
  QRect r(ObjectRect.left() + TextRect.Left, ObjectRect.top() + TextRect.Top,
          TextRect.Width() + growth, TextRect.Height());
  if (!FrameRect.IsEmpty()) {
    r.adjust(FrameTextRect.Left, FrameTextRect.Top, -(FrameRect.Width() - FrameTextRect.Right),
             -(FrameRect.Height() - FrameTextRect.Bottom));
  }
  return r;
}

QString TbsSkinCaptionObject::DrawnText() const {
  const QFontMetrics fm(Font);
  return bsEllipsisText(const_cast<TbsSkinFrameObjects&>(FOwner).Host().FormCaption(), fm,
                        std::max(TextArea().width(), 0));
}

void TbsSkinCaptionObject::Draw(QPainter& p, bool fullPaint) {
  TbsSkinFrameHost& host = FOwner.Host();
  const bool active = host.FormActive();
  const QImage* picture = SkinRectInAPicture ? ActivePicture : &FSkin.FramePicture;
  if (!ActiveSkinRect.IsEmpty() && picture) {
    // The background follows the frame's growth: ends kept, middle repeated.
    const int left = std::max(0, FSkin.lefttoppoint.X - SkinRect.Left);
    const int right = std::max(0, SkinRect.Right - FSkin.righttoppoint.X);
    QImage normal = bsThreePiece(*picture, bsToQRect(SkinRect), left, right, ObjectRect.width());
    const QImage hover = bsThreePiece(*picture, bsToQRect(ActiveSkinRect), left, right, ObjectRect.width());
    if (Morphing && MorphKf > 0 && MorphKf < 1) {
      TbsEffectBmp a = bsEffectBmpFromImage(normal);
      a.Morph(MorphKind, bsEffectBmpFromImage(hover), MorphKf);
      bsDrawEffectBmp(p, ObjectRect.left(), ObjectRect.top(), a);
    } else {
      p.drawImage(ObjectRect.topLeft(), Active ? hover : normal);
    }
  } else if (fullPaint && !SkinRectInAPicture) {
    DrawPart(p, SkinRect);
  }

  const QRect area = TextArea();
  if (area.width() <= 0 || area.height() <= 0) return;
  p.save();
  p.setFont(Font);
  const QFontMetrics fm(Font);
  const QString text = DrawnText();
  const int tw = fm.horizontalAdvance(text);
  int x = area.left();
  if (Alignment == TbsAlignment::taRightJustify) x = area.right() + 1 - tw;
  else if (Alignment == TbsAlignment::taCenter) x = area.left() + area.width() / 2 - tw / 2;
  const int y = area.top() + area.height() / 2 - fm.height() / 2;
  if (!FrameRect.IsEmpty() && picture) {
    const TbsRect& fr = active && !ActiveFrameRect.IsEmpty() ? ActiveFrameRect : FrameRect;
    const int width = FrameRect.Width() + tw - FrameTextRect.Width();
    const QImage frame = bsThreePiece(*picture, bsToQRect(fr), FrameLeftOffset, FrameRightOffset, width);
    p.drawImage(x - FrameTextRect.Left, y - FrameTextRect.Top, frame);
  }
  p.setClipRect(area.adjusted(0, 0, 1, 1));
  if (Shadow) {
    p.setPen(bsQColor(active ? ActiveShadowColor : ShadowColor));
    p.drawText(x + 1, y + 1 + fm.ascent(), text);
  }
  p.setPen(bsQColor(active ? ActiveFontColor : FontColor));
  p.drawText(x, y + fm.ascent(), text);
  p.restore();
}

// ---------------------------------------------------------------------------

TbsSkinAnimateObject::TbsSkinAnimateObject(TbsSkinFrameObjects& owner, TbsSkinData& skin,
                                           TbsDataSkinAnimate& data)
    : TbsActiveSkinObject(owner, skin, data), CountFrames(std::max(data.countframes, 1)),
      Cycle(data.cycle), ButtonStyle(data.buttonstyle),
      TimerInterval(std::max(data.timerinterval, 25)), Command(data.command) {
  Morphing = false;
}

void TbsSkinAnimateObject::Draw(QPainter& p, bool /*fullPaint*/) {
  if (!FOwner.Host().FormActive() && Enabled && !InActiveSkinRect.IsEmpty()) {
    DrawPart(p, InActiveSkinRect);
    return;
  }
  const int w = SkinRect.Width();
  const TbsRect& base = ActiveSkinRect.IsEmpty() ? SkinRect : ActiveSkinRect;
  const int left = base.Left + (Frame - 1) * w;
  DrawPart(p, TbsRect{left, base.Top, left + w, base.Top + SkinRect.Height()});
}

void TbsSkinAnimateObject::MouseEnter() {
  TbsActiveSkinObject::MouseEnter();
  Step = 1;
  FOwner.StartAnimation();
}

void TbsSkinAnimateObject::MouseLeave() {
  TbsActiveSkinObject::MouseLeave();
  Step = -1;
  FOwner.StartAnimation();
}

void TbsSkinAnimateObject::MouseUp(int x, int y, Qt::MouseButton button) {
  const bool over = ObjectRect.contains(x, y);
  TbsActiveSkinObject::MouseUp(x, y, button);
  if (ButtonStyle && button == Qt::LeftButton && over && Enabled) FOwner.RunCommand(Command);
}

bool TbsSkinAnimateObject::AnimationTick() {
  if (Step == 0) return false;
  Counter += 25;
  if (Counter < TimerInterval) return true;
  Counter = 0;
  if (Step > 0) {
    if (Frame < CountFrames) ++Frame;
    else if (Cycle) Frame = 1;
    else Step = 0;
  } else {
    if (Frame > 1) --Frame;
    else Step = 0;
  }
  Redraw();
  return Step != 0;
}

void TbsUserObject::Draw(QPainter& p, bool /*fullPaint*/) {
  FOwner.Host().FramePaintEvent(IDName, p, ObjectRect);
}
