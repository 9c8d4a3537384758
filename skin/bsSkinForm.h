#pragma once
// TbsSkinForm: the skinned window frame of one form. The form becomes a
// frameless top-level window; the band between its edges and its layout
// (whose margins are the frame's non-client sizes) is drawn from the skin's
// frame picture with the caption objects on it. The frame hit-tests that
// band, moves and sizes the window (through the window system where it
// will, else itself), emulates maximise, minimise, restore and roll-up by
// geometry, shapes the window from the frame mask, shows the system menu
// and passes the skin-change messages on to the form's widgets that ask
// for them. Without a usable skin it draws a plain frame of its own.

#include "skin/bsEffects.h"
#include "skin/bsSkinMenu.h"
#include "skin/bsFrameGeometry.h"
#include "skin/bsFramePaint.h"
#include "skin/bsSkinFrameHost.h"
#include "skin/bsSkinFrameObjects.h"
#include "skin/bsSkinPopupMenu.h"

#include <QFont>
#include <QMargins>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <QTimer>

#include <functional>
#include <memory>

class QSystemTrayIcon;
class TbsSkinData;
class TbsSkinMenu;

// Widgets with this dynamic property set to true receive the skin-change
// messages (SKN_BEFORECHANGE, SKN_CHANGE, SKN_AFTERCHANGE,
// SKN_CHANGERESSTRDATA) that reach their form, after the frame has seen them.
inline constexpr const char* kSkinMessagesProperty = "bsSkinMessages";

class TbsSkinForm : public QObject, public TbsSkinFrameHost, public TbsSkinMenuHost {
public:
  explicit TbsSkinForm(QWidget* form);
  ~TbsSkinForm() override;

  QWidget* Form() const { return FForm; }

  // ---- properties
  TbsSkinData* SkinData() const { return FSkinData; }
  // Applies the skin at once.
  void SetSkinData(TbsSkinData* skin);
  TbsSkinData* MenusSkinData() const { return FMenusSkinData; }
  void SetMenusSkinData(TbsSkinData* skin) { FMenusSkinData = skin; }
  TbsBorderIcons BorderIcons() const { return FOptions.BorderIcons; }
  void SetBorderIcons(TbsBorderIcons icons);
  void SetHideCaptionButtons(bool hide);
  bool UseDefaultSysMenu = true;
  QPointer<QMenu> SystemMenu;  // shown instead of the built-in system menu
  TbsFrameLimits Limits;       // MinWidth, MinHeight, MaxWidth, MaxHeight
  int ClientWidth = 0, ClientHeight = 0;
  // A skin change keeps the size of the client area: the window grows or
  // shrinks by the change of the frame's borders (not while maximised,
  // minimised or rolled up, whose bounds the frame owns).
  bool KeepClientSize = false;
  bool MaximizeOnFullScreen = false;
  bool AlphaBlend = false, AlphaBlendAnimation = false;
  int AlphaBlendValue = 200;
  bool Magnetic = false;
  int MagneticSize = 5;
  QFont DefCaptionFont, DefInActiveCaptionFont;
  QPointer<QSystemTrayIcon> TrayIcon;
  bool AlwaysShowInTray = false;
  // The application's main window: minimising it iconifies the application.
  bool MainForm = false;
  bool Sizeable = true;
  // Dialogs the form opens (message boxes, file dialogs) get a frame of the
  // same skin when they are first polished.
  bool SkinDialogs = false;
  bool ToolWindow = false;

  std::function<void()> OnChangeSkinData, OnActivate, OnDeActivate, OnChangeRollUpState,
      OnMinimizeToTray, OnRestoreFromTray;
  // Runs instead of closing the form when the close caption button or the
  // system menu's Close is chosen (a message box answers as to Escape).
  std::function<void()> OnCloseCommand;

  // ---- run-time state
  bool SkinSupport() const { return FSkinSupport; }
  bool Maximized() const { return FMaximized; }
  bool Minimized() const { return FMinimized; }
  bool RolledUp() const { return FRolledUp; }
  bool InSizeMove() const { return FDrag.Code != 0; }
  TbsFrameState State() const;
  TbsFrameLayout Layout() const;
  TbsMargins NonClient() const;
  TbsSize MinSize() const;
  // The smallest client area the form's content can be shown in; the
  // minimum window size follows the borders of whichever skin is in use.
  QSize MinClientSize() const { return FMinClientSize; }
  void SetMinClientSize(QSize size);
  // Resizes the form so that its client area has this size inside the
  // present frame.
  void SetClientSize(QSize size);
  QSize ClientSize() const;
  TbsSize MaxSize() const;
  // Hit code of a point in window coordinates.
  int HitTest(QPoint window) const;
  QRegion WindowRegion() const { return FRegion; }
  TbsSkinFrameObjects& Objects() { return *FObjects; }
  QMenu& BuiltinSystemMenu() { return *FSysMenu; }

  // ---- window states
  void Maximize();
  void Restore();
  void Minimize();
  void ToggleRollUp();
  void MinimizeToTray();
  void RestoreFromTray();
  // Opens the system menu anchored at a rectangle in screen coordinates.
  void ShowSystemMenu(const QRect& anchor);

  // Draws the whole frame (and the client background) as the window shows it.
  void PaintFrame(QPainter& p);

  // ---- TbsSkinMenuHost
  TbsSkinMenu* SkinMenuDriver() override { return FMenuDriver; }
  TbsSkinData* MenusSkin() override;
  TbsSkinData* FormSkin() override { return FSkinData; }

  // ---- TbsSkinFrameHost
  bool FormActive() const override;
  bool FormMaximized() const override { return FMaximized; }
  bool FormMinimized() const override { return FMinimized; }
  bool FormRolledUp() const override { return FRolledUp; }
  QString FormCaption() const override;
  QIcon FormIcon() const override;
  void FrameClose() override;
  void FrameMaximize() override { Maximize(); }
  void FrameMinimize() override { Minimize(); }
  void FrameRestore() override { Restore(); }
  void FrameToggleRollUp() override { ToggleRollUp(); }
  void FrameMinimizeToTray() override { MinimizeToTray(); }
  void FrameShowSystemMenu(const QRect& buttonInWindow) override;
  void FrameRedraw(const QRect& area) override;
  void FrameShowHint(const QString& hint) override;
  void FrameHideHint() override;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void ApplySkin();
  void DropSkin();
  void EnforceMinSize();
  void UpdateGeometry();
  void ApplyMargins();
  void RelaySkinMessage(QEvent* event);
  void RefreshActive();
  void SetBounds(const QRect& r);

  bool MousePress(QMouseEvent* e);
  bool MouseMove(QMouseEvent* e);
  bool MouseRelease(QMouseEvent* e);
  bool MouseDoubleClick(QMouseEvent* e);
  void StartDrag(int code, QPointF global);
  void UpdateCursor(int code);
  void MouseTimerTick();
  void AlphaTick();
  void RunMenuCommand(QAction* action);

  void PaintUnskinned(QPainter& p);
  void PaintClientBackground(QPainter& p, const TbsFrameLayout& layout);
  int UnskinnedButtonAt(QPoint p) const;
  void RunUnskinnedCommand(TbsCommand command);

  QWidget* FForm;
  QPointer<TbsSkinData> FSkinData;
  QPointer<TbsSkinData> FMenusSkinData;
  TbsFrameObjectOptions FOptions;
  std::unique_ptr<TbsSkinFrameObjects> FObjects;
  std::unique_ptr<QMenu> FSysMenu;
  QPointer<TbsSkinMenu> FMenuDriver;
  QImage FFramePicture, FInactivePicture;  // in the window's pixel format
  bool FSkinSupport = false;
  bool FMaximized = false, FMinimized = false, FRolledUp = false, FRollUpWhileMaximized = false;
  QRect FSavedBounds;
  int FHeightBeforeRollUp = 0;
  bool FActive = false;
  QRegion FRegion;
  QMargins FLayoutMargins;
  bool FHaveLayoutMargins = false;
  // The borders last given to the form, to keep its client size across a
  // skin change.
  TbsMargins FAppliedNonClient;
  bool FHaveAppliedNonClient = false;
  QSize FMinClientSize;
  int FUnskinnedDown = -1;  // the pressed unskinned button
  bool FObjectCapture = false;
  struct Drag {
    int Code = 0;
    QPoint StartGlobal;
    QRect StartBounds;
  } FDrag;
  QTimer FMouseTimer;
  QTimer FAlphaTimer;
  int FAlpha = 255;
  TbsNoiseRandom FNoise;
};

// The frame of a form: its first child that is a TbsSkinForm, or null.
TbsSkinForm* bsFindSkinForm(QObject* form);
// Gives a dialog a frame of the same skin as its owner's; nothing happens
// when the owner has no frame. Returns the dialog's frame.
TbsSkinForm* bsAttachSkinFrame(QWidget* dialog, QObject* owner);
