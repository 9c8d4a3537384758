#pragma once
// TbsSkinFrameObjects: the caption objects of one frame. It builds them from
// a skin, sets their visibility and hints, places them for the frame's
// layout, draws them, tracks the mouse over them, runs the 20 ms morph and
// 25 ms animation timers and turns button clicks into calls on the frame.

#include "skin/bsFrameLayout.h"
#include "skin/bsSkinCaptionObjects.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

struct TbsFrameObjectOptions {
  TbsBorderIcons BorderIcons = biSystemMenu | biMinimize | biMaximize | biRollUp;
  bool HideCaptionButtons = false;
  bool UseDefaultObjectHint = true;
  bool ShowObjectHint = false;
  bool AlwaysMinimizeToTray = false;
  bool ShowIcon = false;
  int SmallIconSize = 16;
};

class TbsSkinFrameObjects : public QObject {
public:
  TbsSkinFrameObjects(TbsSkinFrameHost& host, TbsFrameObjectOptions options = {});
  ~TbsSkinFrameObjects() override;

  TbsSkinFrameHost& Host() { return FHost; }
  const TbsFrameObjectOptions& Options() const { return FOptions; }
  void SetOptions(const TbsFrameObjectOptions& options);

  // Builds one object per caption, button, animation and user object of the
  // skin, then sets visibility and hints. An empty skin gives no objects.
  void Build(TbsSkinData* skin);
  void Clear();
  void UpdateVisibility();
  void UpdateHints();
  // Places the objects for the frame's current layout.
  void Place(const TbsFrameLayout& layout);
  // Draws every visible object; fullPaint also draws images that belong to
  // the frame picture (the frame's strips already hold them otherwise).
  void Draw(QPainter& p, bool fullPaint);

  const std::vector<std::unique_ptr<TbsActiveSkinObject>>& Objects() const { return FObjects; }
  TbsActiveSkinObject* Find(const QString& id) const;
  TbsSkinStdButtonObject* FindCommand(TbsCommand command) const;
  TbsSkinCaptionObject* Caption() const;
  // The index of the first enabled, visible object holding the point, or -1.
  int ObjectAt(QPoint window) const;

  // Mouse routing from the frame (window coordinates).
  void MouseMoveAt(QPoint window);
  void MouseDownAt(QPoint window, Qt::MouseButton button);
  void MouseUpAt(QPoint window, Qt::MouseButton button);
  void DblClickAt(QPoint window);
  // The mouse left the frame area (entered the client area or the window).
  void MouseLeft();
  int ActiveIndex() const { return FActive; }
  int CaptureIndex() const { return FCapture; }
  // On activation changes and at the start of a size/move loop.
  void ResetObjects();
  void FormActivityChanged();
  // The system menu opened from the system-menu button closed.
  void SystemMenuClosed();
  // Runs a caption-button command on the frame; the frame may close with it.
  void RunCommand(TbsCommand command);

  // The timers' work, callable directly.
  void MorphTick();
  void AnimationTick();
  bool MorphTimerRunning() const { return FMorphTimer.isActive(); }
  void StartMorph();
  void StartAnimation();

private:
  void SetActive(int index);

  TbsSkinFrameHost& FHost;
  TbsFrameObjectOptions FOptions;
  TbsSkinData* FSkin = nullptr;
  std::vector<std::unique_ptr<TbsActiveSkinObject>> FObjects;
  int FActive = -1;
  int FCapture = -1;
  QTimer FMorphTimer;
  QTimer FAnimationTimer;
};
