#include "skin/bsSkinForm.h"

#include "skin/bsEffectImage.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinMenu.h"
#include "skin/bsSkinMessages.h"
#include "skin/bsSkinPaint.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

TbsPoint P(QPoint p) { return TbsPoint{p.x(), p.y()}; }

QRect ScreenOf(const QWidget* w) {
  const QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
  return s ? s->geometry() : QRect(0, 0, 1 << 14, 1 << 14);
}

}  // namespace

TbsSkinForm::TbsSkinForm(QWidget* form)
    : QObject(form), FForm(form), FObjects(std::make_unique<TbsSkinFrameObjects>(*this)),
      FSysMenu(std::make_unique<QMenu>()) {
  DefCaptionFont = QFont(QStringLiteral("Arial"));
  DefCaptionFont.setPixelSize(14);
  DefCaptionFont.setBold(true);
  DefInActiveCaptionFont = DefCaptionFont;
  FMenuDriver = new TbsSkinMenu(form);
  if (form->isWindow()) form->setWindowFlag(Qt::FramelessWindowHint, true);
  form->setMouseTracking(true);
  form->setAttribute(Qt::WA_Hover, false);
  if (QLayout* layout = form->layout()) {
    FLayoutMargins = layout->contentsMargins();
    FHaveLayoutMargins = true;
  }
  FMouseTimer.setInterval(50);
  connect(&FMouseTimer, &QTimer::timeout, this, [this] { MouseTimerTick(); });
  FAlphaTimer.setInterval(1);
  connect(&FAlphaTimer, &QTimer::timeout, this, [this] { AlphaTick(); });
  connect(FSysMenu.get(), &QMenu::triggered, this, [this](QAction* a) { RunMenuCommand(a); });
  form->installEventFilter(this);
  ApplySkin();
}

TbsSkinForm::~TbsSkinForm() {
  if (FForm) FForm->removeEventFilter(this);
  if (FMenuDriver) delete FMenuDriver.data();
}

TbsSkinForm* bsFindSkinForm(QObject* form) {
  if (!form) return nullptr;
  for (QObject* child : form->children())
    if (auto* f = dynamic_cast<TbsSkinForm*>(child)) return f;
  return nullptr;
}

TbsSkinForm* bsAttachSkinFrame(QWidget* dialog, QObject* owner) {
  TbsSkinForm* ownerFrame = nullptr;
  for (QObject* o = owner; o && !ownerFrame; o = o->parent()) ownerFrame = bsFindSkinForm(o);
  if (!dialog || !ownerFrame) return nullptr;
  auto* frame = new TbsSkinForm(dialog);
  frame->SetBorderIcons(biSystemMenu);
  frame->SetMenusSkinData(ownerFrame->MenusSkinData());
  frame->SetSkinData(ownerFrame->SkinData());
  return frame;
}

void TbsSkinForm::SetSkinData(TbsSkinData* skin) {
  FSkinData = skin;
  ApplySkin();
}

void TbsSkinForm::SetBorderIcons(TbsBorderIcons icons) {
  FOptions.BorderIcons = icons;
  FObjects->SetOptions(FOptions);
  FForm->update();
}

void TbsSkinForm::SetHideCaptionButtons(bool hide) {
  FOptions.HideCaptionButtons = hide;
  FObjects->SetOptions(FOptions);
  FForm->update();
}

TbsSkinData* TbsSkinForm::MenusSkin() {
  if (FMenusSkinData) return FMenusSkinData;
  return FSkinData;
}

TbsFrameState TbsSkinForm::State() const {
  TbsFrameState s;
  s.Maximized = FMaximized;
  s.Minimized = FMinimized;
  s.RolledUp = FRolledUp;
  s.Sizeable = Sizeable;
  s.ToolWindow = ToolWindow;
  s.InSizeMove = InSizeMove();
  return s;
}

TbsFrameLayout TbsSkinForm::Layout() const {
  if (!FSkinSupport) return TbsFrameLayout{};
  return bsComputeFrameLayout(*FSkinData, FForm->width(), FForm->height());
}

TbsMargins TbsSkinForm::NonClient() const {
  return FSkinSupport ? bsSkinnedNonClient(*FSkinData) : bsUnskinnedNonClient(ToolWindow);
}

TbsSize TbsSkinForm::MinSize() const {
  TbsSize s = bsFrameMinSize(FSkinSupport ? FSkinData.data() : nullptr, Limits, State());
  if (FMinimized) return s;
  const TbsMargins m = NonClient();
  if (FMinClientSize.width() > 0)
    s.Width = std::max(s.Width, FMinClientSize.width() + m.Left + m.Right);
  if (FMinClientSize.height() > 0 && !FRolledUp)
    s.Height = std::max(s.Height, FMinClientSize.height() + m.Top + m.Bottom);
  return s;
}

void TbsSkinForm::SetMinClientSize(QSize size) {
  FMinClientSize = size;
  EnforceMinSize();
}

void TbsSkinForm::SetClientSize(QSize size) {
  const TbsMargins m = NonClient();
  FForm->resize(QSize(size.width() + m.Left + m.Right, size.height() + m.Top + m.Bottom)
                    .expandedTo(FForm->minimumSize()));
}

QSize TbsSkinForm::ClientSize() const {
  const TbsMargins m = NonClient();
  return QSize(FForm->width() - m.Left - m.Right, FForm->height() - m.Top - m.Bottom);
}

TbsSize TbsSkinForm::MaxSize() const {
  const QScreen* s = FForm->screen() ? FForm->screen() : QGuiApplication::primaryScreen();
  const QRect area = !s ? QRect() : MaximizeOnFullScreen ? s->geometry() : s->availableGeometry();
  return bsFrameMaxSize(TbsRect{area.left(), area.top(), area.right() + 1, area.bottom() + 1}, Limits);
}

int TbsSkinForm::HitTest(QPoint pt) const {
  if (!FSkinSupport) {
    if (UnskinnedButtonAt(pt) >= 0) return bsHtFrame;
    return bsUnskinnedHitTest(FForm->width(), FForm->height(), State(), P(pt));
  }
  TbsHitTestInput in;
  in.Skin = FSkinData;
  in.Layout = Layout();
  in.State = State();
  in.HasRegion = !FRegion.isEmpty();
  in.InRegion = [this](TbsPoint q) { return FRegion.contains(QPoint(q.X, q.Y)); };
  in.ObjectAt = [this](TbsPoint q) {
    const int i = FObjects->ObjectAt(QPoint(q.X, q.Y));
    if (i < 0) return TbsObjectHit::None;
    return dynamic_cast<TbsSkinCaptionObject*>(FObjects->Objects()[std::size_t(i)].get())
               ? TbsObjectHit::Caption
               : TbsObjectHit::Other;
  };
  return bsSkinHitTest(in, P(pt));
}

// ---------------------------------------------------------------------------
// Applying and dropping a skin

void TbsSkinForm::ApplySkin() {
  FObjects->ResetObjects();
  const QRect screen = ScreenOf(FForm);
  FSkinSupport = FSkinData && !FSkinData->SkinEmpty &&
                 bsSkinFrameUsable(*FSkinData, screen.width(), screen.height());
  if (FSkinSupport) {
    FFramePicture = FSkinData->FramePicture.convertToFormat(QImage::Format_RGB32);
    FInactivePicture = FSkinData->InactiveFramePicture.isNull()
                           ? QImage()
                           : FSkinData->InactiveFramePicture.convertToFormat(QImage::Format_RGB32);
    FObjects->Build(FSkinData);
  } else {
    FFramePicture = FInactivePicture = QImage();
    FObjects->Clear();
  }
  EnforceMinSize();
  const TbsMargins before = FAppliedNonClient;
  const bool hadBorders = FHaveAppliedNonClient;
  ApplyMargins();
  if (KeepClientSize && hadBorders) {
    const TbsMargins after = FAppliedNonClient;
    const QSize grow(after.Left + after.Right - before.Left - before.Right,
                     after.Top + after.Bottom - before.Top - before.Bottom);
    if (!grow.isNull()) {
      // The bounds to go back to hold the client the user had.
      if (!FSavedBounds.isNull()) FSavedBounds.setSize(FSavedBounds.size() + grow);
      if (FRolledUp) FHeightBeforeRollUp += grow.height();
      if (!FMaximized && !FMinimized) {
        const QSize now(FForm->width() + grow.width(),
                        FRolledUp ? FForm->height() : FForm->height() + grow.height());
        FForm->resize(now.expandedTo(FForm->minimumSize()));
      }
    }
  }
  UpdateGeometry();
  FForm->update();
  RefreshActive();
  FMouseTimer.start();
  if (OnChangeSkinData) OnChangeSkinData();
  if (ClientWidth > 0 || ClientHeight > 0) {
    const TbsMargins m = NonClient();
    FForm->resize(ClientWidth > 0 ? ClientWidth + m.Left + m.Right : FForm->width(),
                  ClientHeight > 0 ? ClientHeight + m.Top + m.Bottom : FForm->height());
  }
}

void TbsSkinForm::DropSkin() {
  FSkinSupport = false;
  FMouseTimer.stop();
  FObjects->Clear();
  FFramePicture = FInactivePicture = QImage();
}

void TbsSkinForm::EnforceMinSize() {
  const TbsSize min = MinSize();
  FForm->setMinimumSize(min.Width, min.Height);
  if (Limits.MaxWidth > 0 || Limits.MaxHeight > 0)
    FForm->setMaximumSize(Limits.MaxWidth > 0 ? Limits.MaxWidth : QWIDGETSIZE_MAX,
                          Limits.MaxHeight > 0 ? Limits.MaxHeight : QWIDGETSIZE_MAX);
  QSize s = FForm->size();
  if (FMinimized) s = QSize(min.Width, min.Height);
  else if (FRolledUp) s.setHeight(min.Height);
  s = s.expandedTo(QSize(min.Width, min.Height));
  if (s != FForm->size()) FForm->resize(s);
}

void TbsSkinForm::ApplyMargins() {
  const TbsMargins m = NonClient();
  FAppliedNonClient = m;
  FHaveAppliedNonClient = true;
  const QMargins nc(m.Left, m.Top, m.Right, m.Bottom);
  if (QLayout* layout = FForm->layout()) {
    if (!FHaveLayoutMargins) {
      FLayoutMargins = layout->contentsMargins();
      FHaveLayoutMargins = true;
    }
    layout->setContentsMargins(FLayoutMargins + nc);
    layout->activate();
  } else {
    FForm->setContentsMargins(nc);
  }
}

void TbsSkinForm::UpdateGeometry() {
  if (FSkinSupport) {
    const TbsFrameLayout l = Layout();
    FObjects->Place(l);
    FRegion = bsFrameRegion(*FSkinData, l);
  } else {
    FRegion = QRegion();
  }
  if (FRegion.isEmpty()) FForm->clearMask();
  else FForm->setMask(FRegion);
}

void TbsSkinForm::RefreshActive() {
  FActive = FForm->isActiveWindow();
  FObjects->FormActivityChanged();
  if (FActive) {
    if (OnActivate) OnActivate();
  } else if (OnDeActivate) {
    OnDeActivate();
  }
}

void TbsSkinForm::RelaySkinMessage(QEvent* event) {
  auto* m = static_cast<TbsSkinMessageEvent*>(event);
  for (QWidget* w : FForm->findChildren<QWidget*>()) {
    if (!w->property(kSkinMessagesProperty).toBool()) continue;
    TbsSkinMessageEvent copy(m->Message(), m->WParam);
    copy.LParam = m->LParam;
    QCoreApplication::sendEvent(w, &copy);
  }
}

// ---------------------------------------------------------------------------
// Events

bool TbsSkinForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched != FForm) return false;
  const int type = int(event->type());
  if (type == SKN_BEFORECHANGE || type == SKN_CHANGE || type == SKN_AFTERCHANGE ||
      type == SKN_CHANGERESSTRDATA) {
    auto* m = static_cast<TbsSkinMessageEvent*>(event);
    if (FSkinData && m->WParam == FSkinData.data()) {
      if (type == SKN_BEFORECHANGE) {
        DropSkin();
        FForm->update();
      } else if (type == SKN_CHANGE) {
        ApplySkin();
      }
    }
    RelaySkinMessage(event);
    return false;
  }
  if (type == SKN_MENUCLOSED) {
    FObjects->SystemMenuClosed();
    return false;
  }
  switch (event->type()) {
    case QEvent::ChildPolished:
      if (SkinDialogs) {
        auto* child = static_cast<QChildEvent*>(event)->child();
        if (auto* dialog = qobject_cast<QDialog*>(child); dialog && dialog->isWindow() &&
                                                          !bsFindSkinForm(dialog))
          bsAttachSkinFrame(dialog, FForm);
      }
      return false;
    case QEvent::Paint: {
      QPainter p(FForm);
      PaintFrame(p);
      return false;
    }
    case QEvent::Resize:
      UpdateGeometry();
      FForm->update();
      return false;
    case QEvent::MouseButtonPress: return MousePress(static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove: return MouseMove(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease: return MouseRelease(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonDblClick: return MouseDoubleClick(static_cast<QMouseEvent*>(event));
    case QEvent::Leave:
      if (FDrag.Code == 0) {
        FObjects->MouseLeft();
        FForm->unsetCursor();
      }
      return false;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::ActivationChange:
      if (FActive != FForm->isActiveWindow()) {
        RefreshActive();
        FForm->update();
      }
      return false;
    case QEvent::WindowTitleChange:
    case QEvent::WindowIconChange:
      FForm->update();
      return false;
    case QEvent::Show:
      if (AlphaBlendAnimation) {
        FAlpha = 0;
        FForm->setWindowOpacity(0.0);
        FAlphaTimer.start();
      } else if (AlphaBlend) {
        FForm->setWindowOpacity(qBound(0, AlphaBlendValue, 255) / 255.0);
      }
      return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      // The system key-menu command: there is no menu bar to open.
      const auto* k = static_cast<QKeyEvent*>(event);
      if (k->key() == Qt::Key_F10 && k->modifiers() == Qt::NoModifier) return true;
      if (k->key() == Qt::Key_Alt) return true;
      return false;
    }
    default: return false;
  }
}

void TbsSkinForm::AlphaTick() {
  const int target = AlphaBlend ? qBound(0, AlphaBlendValue, 255) : 255;
  FAlpha = std::min(target, FAlpha + 5);
  FForm->setWindowOpacity(FAlpha / 255.0);
  if (FAlpha >= target) FAlphaTimer.stop();
}

// ---------------------------------------------------------------------------
// Host services for the caption objects

bool TbsSkinForm::FormActive() const { return FForm->isActiveWindow(); }

QString TbsSkinForm::FormCaption() const { return FForm->windowTitle(); }

QIcon TbsSkinForm::FormIcon() const { return FForm->windowIcon(); }

void TbsSkinForm::FrameClose() {
  if (OnCloseCommand) OnCloseCommand();
  else FForm->close();
}

void TbsSkinForm::FrameShowSystemMenu(const QRect& r) {
  ShowSystemMenu(QRect(FForm->mapToGlobal(r.topLeft()), r.size()));
}

void TbsSkinForm::FrameRedraw(const QRect& area) {
  if (area.isValid()) FForm->update(area);
}

void TbsSkinForm::FrameShowHint(const QString& hint) {
  if (!hint.isEmpty()) QToolTip::showText(QCursor::pos(), hint, FForm);
}

void TbsSkinForm::FrameHideHint() { QToolTip::hideText(); }
