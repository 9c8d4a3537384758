#pragma once
// The run-time objects of a skinned window's caption: the caption text, the
// standard and skin caption buttons, animations and user objects, one per
// skin object. They are made, placed and driven by TbsSkinFrameObjects
// (bsSkinFrameObjects.h) and call the frame through TbsSkinFrameHost.

#include "skin/bsSkinFrameHost.h"
#include "skin/bsSkinObjects.h"
#include "skin/bsSkinPaint.h"

#include <QFont>
#include <QRect>

#include <memory>

class QImage;
class QPainter;
class TbsSkinData;
class TbsSkinFrameObjects;

class TbsActiveSkinObject {
public:
  TbsActiveSkinObject(TbsSkinFrameObjects& owner, TbsSkinData& skin, TbsDataSkinObject& data);
  virtual ~TbsActiveSkinObject() = default;
  TbsActiveSkinObject(const TbsActiveSkinObject&) = delete;
  TbsActiveSkinObject& operator=(const TbsActiveSkinObject&) = delete;

  // True while the morph factor is short of its target (1 active, 0 not).
  virtual bool NeedsMorph() const;
  virtual void Draw(QPainter& p, bool fullPaint);
  virtual void DblClick();
  virtual void MouseDown(int x, int y, Qt::MouseButton button);
  virtual void MouseUp(int x, int y, Qt::MouseButton button);
  virtual void MouseMove(int x, int y);
  virtual void MouseEnter();
  virtual void MouseLeave();

  QString IDName;
  QString Hint;
  bool SkinRectInAPicture;  // the image lies in the active picture, not the frame
  TbsRect SkinRect, ActiveSkinRect, InActiveSkinRect;
  bool Morphing;
  TbsMorphKind MorphKind;
  const QImage* ActivePicture = nullptr;
  QRect ObjectRect;  // window coordinates
  double MorphKf = 0;
  bool Enabled = true;
  bool Visible = true;
  bool MouseIn = false;
  bool Active = false;

  // Moves the factor 0.2 towards its target; returns whether it moved.
  bool MorphStep();
  // Not active, not pressed, factor 0.
  virtual void Reset();

protected:
  // Draws a rectangle of the active picture at the object, morphing from
  // normal to hover while a morph is under way.
  void DrawImages(QPainter& p, bool fullPaint, const TbsRect& normal, const TbsRect& hover,
                  const TbsRect& inactive);
  void DrawPart(QPainter& p, const TbsRect& source);
  void Redraw();

  TbsSkinFrameObjects& FOwner;
  TbsSkinData& FSkin;
};

class TbsSkinButtonObject : public TbsActiveSkinObject {
public:
  TbsSkinButtonObject(TbsSkinFrameObjects& owner, TbsSkinData& skin, TbsDataSkinButton& data);
  void Draw(QPainter& p, bool fullPaint) override;
  void MouseDown(int x, int y, Qt::MouseButton button) override;
  void MouseUp(int x, int y, Qt::MouseButton button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void Reset() override;

  TbsRect DownRect, DisableSkinRect;
  bool FDown = false;
  bool MenuOpen = false;  // the system menu shown from this button
  bool PopupUp = false;

protected:
  virtual void ButtonCommand() {}
  void DrawButton(QPainter& p, bool fullPaint, const TbsRect& normal, const TbsRect& hover,
                  const TbsRect& down, const TbsRect& inactive);
};

class TbsSkinStdButtonObject : public TbsSkinButtonObject {
public:
  TbsSkinStdButtonObject(TbsSkinFrameObjects& owner, TbsSkinData& skin, TbsDataSkinStdButton& data);
  void Draw(QPainter& p, bool fullPaint) override;
  void DblClick() override;
  void MouseDown(int x, int y, Qt::MouseButton button) override;

  TbsCommand Command;
  TbsRect RestoreRect, RestoreActiveRect, RestoreDownRect, RestoreInActiveRect;
  // The button shows its restore images (maximise while maximised ...).
  bool StateOn() const;

protected:
  void ButtonCommand() override;
};

class TbsSkinCaptionObject : public TbsActiveSkinObject {
public:
  TbsSkinCaptionObject(TbsSkinFrameObjects& owner, TbsSkinData& skin, TbsDataSkinCaption& data);
  void Draw(QPainter& p, bool fullPaint) override;
  bool NeedsMorph() const override;
  // The caption's active flag follows the form's activity, not the mouse.
  void MouseEnter() override;
  void MouseLeave() override;

  QFont Font;
  TbsColor FontColor, ActiveFontColor;
  TbsAlignment Alignment;
  TbsRect TextRect;
  bool Shadow;
  TbsColor ShadowColor, ActiveShadowColor;
  TbsRect FrameRect, ActiveFrameRect, FrameTextRect;
  int FrameLeftOffset, FrameRightOffset;

  // Where the text goes, in window coordinates, and the text as drawn.
  QRect TextArea() const;
  QString DrawnText() const;
};

class TbsSkinAnimateObject : public TbsActiveSkinObject {
public:
  TbsSkinAnimateObject(TbsSkinFrameObjects& owner, TbsSkinData& skin, TbsDataSkinAnimate& data);
  void Draw(QPainter& p, bool fullPaint) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseUp(int x, int y, Qt::MouseButton button) override;
  // One 25 ms tick; returns whether the animation still runs.
  bool AnimationTick();

  int CountFrames;
  bool Cycle;
  bool ButtonStyle;
  int TimerInterval;
  TbsCommand Command;
  int Frame = 1;
  int Step = 0;  // +1 forwards, -1 backwards, 0 stopped
  int Counter = 0;
};

class TbsUserObject : public TbsActiveSkinObject {
public:
  using TbsActiveSkinObject::TbsActiveSkinObject;
  void Draw(QPainter& p, bool fullPaint) override;
};
