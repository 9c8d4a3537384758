// The frame's own window states, emulated by geometry, and its system menu.

#include "skin/bsSkinForm.h"

#include "skin/bsSkinData.h"
#include "skin/bsSkinMenu.h"
#include "skin/bsSystemMenu.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWidget>

void TbsSkinForm::SetBounds(const QRect& r) {
  if (r == FForm->geometry()) return;
  FForm->setGeometry(r);
}

void TbsSkinForm::Maximize() {
  if (FMaximized) return;
  const QScreen* s = FForm->screen() ? FForm->screen() : QGuiApplication::primaryScreen();
  if (!s) return;
  if (FSavedBounds.isNull()) FSavedBounds = FForm->geometry();
  if (FRolledUp) {
    FRolledUp = false;
    FRollUpWhileMaximized = false;
  }
  const QRect a = s->availableGeometry(), m = s->geometry();
  const TbsRect r = bsMaximizedBounds(TbsRect{a.left(), a.top(), a.right() + 1, a.bottom() + 1},
                                      TbsRect{m.left(), m.top(), m.right() + 1, m.bottom() + 1},
                                      MaximizeOnFullScreen);
  FMaximized = true;
  FMinimized = false;
  SetBounds(QRect(r.Left, r.Top, r.Width(), r.Height()));
  FObjects->UpdateVisibility();
  FObjects->UpdateHints();
  UpdateGeometry();
  FForm->update();
}

void TbsSkinForm::Restore() {
  if (FMinimized && MainForm) {
    FMinimized = false;
    FForm->showNormal();
    return;
  }
  FRollUpWhileMaximized = false;
  const bool wasMaximizedBelow = FMinimized && FMaximized;
  FMinimized = false;
  if (wasMaximizedBelow) {
    // Back from minimised to the maximised bounds.
    FMaximized = false;
    Maximize();
    return;
  }
  FMaximized = false;
  FRolledUp = false;
  EnforceMinSize();
  if (!FSavedBounds.isNull()) {
    const QRect saved = FSavedBounds;
    FSavedBounds = QRect();
    if (saved.size() == FForm->size()) {
      // Nudge so that the frame is laid out again.
      FForm->resize(saved.width() + 1, saved.height());
    }
    SetBounds(saved);
  }
  FObjects->UpdateVisibility();
  FObjects->UpdateHints();
  UpdateGeometry();
  FForm->update();
}

void TbsSkinForm::Minimize() {
  if (MainForm) {
    // The application's main window iconifies the application; the frame's
    // own state stays normal.
    FForm->showMinimized();
    return;
  }
  if (FMinimized) return;
  if (FSavedBounds.isNull()) FSavedBounds = FForm->geometry();
  FMinimized = true;
  EnforceMinSize();
  const QScreen* s = FForm->screen() ? FForm->screen() : QGuiApplication::primaryScreen();
  const TbsSize min = MinSize();
  if (s) {
    // Minimised windows line up at the bottom left of the work area.
    const QRect a = s->availableGeometry();
    SetBounds(QRect(a.left(), a.bottom() + 1 - min.Height, min.Width, min.Height));
  } else {
    FForm->resize(min.Width, min.Height);
  }
  FObjects->UpdateVisibility();
  UpdateGeometry();
  FForm->update();
}

void TbsSkinForm::ToggleRollUp() {
  if (!(FOptions.BorderIcons & biRollUp) || FMinimized) return;
  if (FMaximized && !FRolledUp && !FRollUpWhileMaximized) FRollUpWhileMaximized = true;
  if (!FRolledUp) {
    FHeightBeforeRollUp = FForm->height();
    FRolledUp = true;
    EnforceMinSize();
    FForm->resize(FForm->width(), MinSize().Height);
  } else {
    FRolledUp = false;
    FRollUpWhileMaximized = false;
    EnforceMinSize();
    FForm->resize(FForm->width(), std::max(FHeightBeforeRollUp, MinSize().Height));
  }
  UpdateGeometry();
  FForm->update();
  if (OnChangeRollUpState) OnChangeRollUpState();
}

void TbsSkinForm::MinimizeToTray() {
  if (!TrayIcon || !QSystemTrayIcon::isSystemTrayAvailable()) {
    Minimize();
    return;
  }
  TrayIcon->show();
  connect(TrayIcon.data(), &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason) { RestoreFromTray(); }, Qt::UniqueConnection);
  FForm->hide();
  if (OnMinimizeToTray) OnMinimizeToTray();
}

void TbsSkinForm::RestoreFromTray() {
  FForm->show();
  FForm->activateWindow();
  if (TrayIcon && !AlwaysShowInTray) TrayIcon->hide();
  if (OnRestoreFromTray) OnRestoreFromTray();
}

void TbsSkinForm::ShowSystemMenu(const QRect& anchor) {
  QMenu* menu = SystemMenu ? SystemMenu.data() : FSysMenu.get();
  if (!SystemMenu || UseDefaultSysMenu) {
    TbsSystemMenuState s;
    s.BorderIcons = FOptions.BorderIcons;
    s.Maximized = FMaximized;
    s.Minimized = FMinimized;
    s.RolledUp = FRolledUp;
    bsFillSystemMenu(*menu, s, FSkinData ? FSkinData->ResourceStrData() : nullptr);
  }
  if (SystemMenu) {
    connect(menu, &QMenu::triggered, this, [this](QAction* a) { RunMenuCommand(a); },
            Qt::UniqueConnection);
  }
  if (FMenuDriver) FMenuDriver->Popup(FForm, MenusSkin(), menu, anchor);
}

void TbsSkinForm::RunMenuCommand(QAction* action) {
  if (!action->objectName().startsWith(QLatin1String("BSF_"))) return;
  bool ok = false;
  const int command = action->data().toInt(&ok);
  if (!ok) return;
  if (command == kSystemMenuRestore) {
    if (FRolledUp && !FMaximized && !FMinimized) ToggleRollUp();
    else Restore();
    return;
  }
  FObjects->RunCommand(TbsCommand(command));
}

void TbsSkinForm::RunUnskinnedCommand(TbsCommand command) {
  if (command == TbsCommand::cmSysMenu) {
    const auto buttons = bsUnskinnedButtons(FForm->width(), State(), FOptions.BorderIcons,
                                            FOptions.HideCaptionButtons);
    for (const auto& b : buttons)
      if (b.Command == TbsCommand::cmSysMenu)
        ShowSystemMenu(QRect(FForm->mapToGlobal(QPoint(b.Rect.Left, b.Rect.Bottom)), QSize(0, 0)));
    return;
  }
  FObjects->RunCommand(command);
}
