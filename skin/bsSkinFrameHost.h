#pragma once
// What the caption objects need from the window frame that owns them: the
// form's state, the window commands, repaints, hints and the user-object
// events. The frame implements it; tests use a fake.

#include <QIcon>
#include <QRect>
#include <QString>

class QPainter;

// The caption buttons and system-menu items a frame offers.
enum TbsBorderIcon : unsigned {
  biSystemMenu = 1,
  biMinimize = 2,
  biMaximize = 4,
  biRollUp = 8,
  biMinimizeToTray = 16,
};
using TbsBorderIcons = unsigned;

class TbsSkinFrameHost {
public:
  virtual ~TbsSkinFrameHost() = default;

  virtual bool FormActive() const = 0;
  virtual bool FormMaximized() const { return false; }
  virtual bool FormMinimized() const { return false; }
  virtual bool FormRolledUp() const { return false; }
  // The text the caption shows (a multiple-document frame adds its child's).
  virtual QString FormCaption() const = 0;
  virtual QIcon FormIcon() const { return QIcon(); }

  // Window commands. Close may destroy the form and everything it owns: the
  // caption objects call it last and touch nothing afterwards.
  virtual void FrameClose() = 0;
  virtual void FrameMaximize() = 0;
  virtual void FrameMinimize() = 0;
  virtual void FrameRestore() = 0;
  virtual void FrameToggleRollUp() = 0;
  virtual void FrameMinimizeToTray() = 0;
  // Opens the system menu below the button; the frame reports the menu's
  // closing back through TbsSkinFrameObjects::SystemMenuClosed.
  virtual void FrameShowSystemMenu(const QRect& buttonInWindow) = 0;

  // The part of the window (window coordinates) that must be painted again.
  virtual void FrameRedraw(const QRect& area) = 0;

  virtual void FrameShowHint(const QString& /*hint*/) {}
  virtual void FrameHideHint() {}

  // OnActivateCustomObject: returns false when the form has no handler.
  virtual bool FrameActivateCustomObject(const QString& /*id*/, bool& /*visible*/) { return false; }
  // The events of user objects and custom buttons.
  virtual void FrameMouseDownEvent(const QString& /*id*/, int /*x*/, int /*y*/, const QRect& /*r*/, Qt::MouseButton) {}
  virtual void FrameMouseUpEvent(const QString& /*id*/, int /*x*/, int /*y*/, const QRect& /*r*/, Qt::MouseButton) {}
  virtual void FrameMouseMoveEvent(const QString& /*id*/, int /*x*/, int /*y*/, const QRect& /*r*/) {}
  virtual void FrameMouseEnterEvent(const QString& /*id*/) {}
  virtual void FrameMouseLeaveEvent(const QString& /*id*/) {}
  virtual void FramePaintEvent(const QString& /*id*/, QPainter& /*p*/, const QRect& /*r*/) {}
};
