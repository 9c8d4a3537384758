// The frame's mouse handling over its non-client band: objects, capture,
// moving and sizing, the caption's double and right clicks, cursors.

#include "skin/bsSkinForm.h"

#include "skin/bsSkinMenu.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

Qt::Edges EdgesOf(int code) {
  switch (code) {
    case bsHtLeft: return Qt::LeftEdge;
    case bsHtRight: return Qt::RightEdge;
    case bsHtTop: return Qt::TopEdge;
    case bsHtBottom: return Qt::BottomEdge;
    case bsHtTopLeft: return Qt::TopEdge | Qt::LeftEdge;
    case bsHtTopRight: return Qt::TopEdge | Qt::RightEdge;
    case bsHtBottomLeft: return Qt::BottomEdge | Qt::LeftEdge;
    case bsHtBottomRight: return Qt::BottomEdge | Qt::RightEdge;
    default: return {};
  }
}

QRect Q(const TbsRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

}  // namespace

void TbsSkinForm::UpdateCursor(int code) {
  switch (code) {
    case bsHtLeft:
    case bsHtRight: FForm->setCursor(Qt::SizeHorCursor); break;
    case bsHtTop:
    case bsHtBottom: FForm->setCursor(Qt::SizeVerCursor); break;
    case bsHtTopLeft:
    case bsHtBottomRight: FForm->setCursor(Qt::SizeFDiagCursor); break;
    case bsHtTopRight:
    case bsHtBottomLeft: FForm->setCursor(Qt::SizeBDiagCursor); break;
    case bsHtClient: FForm->unsetCursor(); break;
    default: FForm->setCursor(Qt::ArrowCursor); break;
  }
}

void TbsSkinForm::StartDrag(int code, QPointF global) {
  // A maximised window keeps its bounds; it is neither moved nor sized.
  if (FMaximized) return;
  if (code != bsHtCaption && (FMinimized || FRolledUp)) return;
  if (QWindow* w = FForm->windowHandle(); w && !Magnetic) {
    const bool started = code == bsHtCaption ? w->startSystemMove() : w->startSystemResize(EdgesOf(code));
    if (started) return;
  }
  // The window system will not do it (no window manager): we follow the mouse.
  FDrag.Code = code;
  FDrag.StartGlobal = global.toPoint();
  FDrag.StartBounds = FForm->geometry();
  FObjects->ResetObjects();
}

bool TbsSkinForm::MousePress(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  const int code = HitTest(pt);
  if (code == bsHtClient && !FObjectCapture) {
    FObjects->MouseLeft();
    return false;
  }
  if (e->button() == Qt::LeftButton && bsHitMovesOrSizes(code)) {
    StartDrag(code, e->globalPosition());
    return true;
  }
  if (e->button() == Qt::RightButton && code == bsHtCaption) {
    ShowSystemMenu(QRect(e->globalPosition().toPoint(), QSize(0, 0)));
    return true;
  }
  if (e->button() != Qt::LeftButton && e->button() != Qt::RightButton) return code != bsHtClient;
  if (FSkinSupport) {
    FObjects->MouseDownAt(pt, e->button());
    FObjectCapture = FObjects->CaptureIndex() >= 0;
  } else if (e->button() == Qt::LeftButton) {
    FUnskinnedDown = UnskinnedButtonAt(pt);
    if (FUnskinnedDown >= 0) FForm->update();
  }
  return true;
}

bool TbsSkinForm::MouseMove(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  if (FDrag.Code != 0) {
    const QPoint g = e->globalPosition().toPoint();
    const QRect s = FDrag.StartBounds;
    TbsRect r = bsDragBounds(FDrag.Code, TbsRect{s.left(), s.top(), s.right() + 1, s.bottom() + 1},
                             TbsPoint{FDrag.StartGlobal.x(), FDrag.StartGlobal.y()},
                             TbsPoint{g.x(), g.y()}, MinSize(), MaxSize());
    if (Magnetic && FDrag.Code == bsHtCaption) {
      const QScreen* sc = FForm->screen() ? FForm->screen() : QGuiApplication::primaryScreen();
      if (sc) {
        const QRect a = sc->availableGeometry();
        r = bsSnapToArea(r, TbsRect{a.left(), a.top(), a.right() + 1, a.bottom() + 1}, MagneticSize);
      }
    }
    SetBounds(Q(r));
    return true;
  }
  if (FObjectCapture || FUnskinnedDown >= 0) {
    if (FSkinSupport) FObjects->MouseMoveAt(pt);
    return true;
  }
  const int code = HitTest(pt);
  UpdateCursor(code);
  if (code == bsHtClient) {
    FObjects->MouseLeft();
    return false;
  }
  if (FSkinSupport) {
    FObjects->MouseMoveAt(pt);
    if (!FMouseTimer.isActive()) FMouseTimer.start();
  }
  return true;
}

bool TbsSkinForm::MouseRelease(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  if (FDrag.Code != 0) {
    FDrag = Drag{};
    UpdateGeometry();
    FForm->update();
    return true;
  }
  // The capture ends on any button-up, also one over the client area.
  const bool captured = FObjectCapture || FUnskinnedDown >= 0;
  FObjectCapture = false;
  if (FUnskinnedDown >= 0) {
    const int index = FUnskinnedDown;
    FUnskinnedDown = -1;
    FForm->update();
    const auto buttons = bsUnskinnedButtons(FForm->width(), State(), FOptions.BorderIcons,
                                            FOptions.HideCaptionButtons);
    if (e->button() == Qt::LeftButton && UnskinnedButtonAt(pt) == index &&
        index < int(buttons.size()))
      RunUnskinnedCommand(buttons[std::size_t(index)].Command);
    return true;
  }
  const int code = HitTest(pt);
  if (!captured && code == bsHtClient) return false;
  if (FSkinSupport) FObjects->MouseUpAt(pt, e->button());
  return true;
}

bool TbsSkinForm::MouseDoubleClick(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  const int code = HitTest(pt);
  if (code == bsHtClient) return false;
  if (e->button() != Qt::LeftButton) return true;
  FDrag = Drag{};
  if (FSkinSupport) FObjects->DblClickAt(pt);
  else if (const int b = UnskinnedButtonAt(pt); b >= 0) {
    const auto buttons = bsUnskinnedButtons(FForm->width(), State(), FOptions.BorderIcons,
                                            FOptions.HideCaptionButtons);
    if (buttons[std::size_t(b)].Command == TbsCommand::cmSysMenu) FrameClose();
    return true;
  }
  if (code != bsHtCaption || !Sizeable) return true;
  if (FMinimized) Restore();
  else if (!FMaximized) {
    if (FOptions.BorderIcons & biMaximize) Maximize();
    else if (FOptions.BorderIcons & biRollUp) ToggleRollUp();
  } else if (!FRollUpWhileMaximized) Restore();
  else ToggleRollUp();
  return true;
}

void TbsSkinForm::MouseTimerTick() {
  if (FObjectCapture || FDrag.Code != 0) return;
  const QPoint pt = FForm->mapFromGlobal(QCursor::pos());
  if (!FForm->rect().contains(pt) || HitTest(pt) == bsHtClient) {
    FObjects->MouseLeft();
    FMouseTimer.stop();
  }
}
