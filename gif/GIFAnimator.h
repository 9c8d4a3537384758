#pragma once
// TGIFAnimator: a widget that shows a GIF image and plays its frames, each for
// its own display time, composing every frame into a full logical-screen
// picture that honours disposal and transparency. Where the picture is
// transparent the parent shows through.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QWidget>
#include <span>

#include "gif/AnimTimer.h"
#include "gif/GIFCompositor.h"
#include "gif/GIFImage.h"

namespace rasp {

class TGIFAnimator : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool Animate READ Animate WRITE SetAnimate)
  Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
  Q_PROPERTY(bool Center READ Center WRITE SetCenter)
  Q_PROPERTY(int FrameIndex READ FrameIndex WRITE SetFrameIndex)
  Q_PROPERTY(bool Loop READ Loop WRITE SetLoop)
  Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
  Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)

 public:
  // A frame is shown at least this long and at most that long.
  static constexpr int kMinDelayMs = 50;
  static constexpr int kMaxDelayMs = 10000;

  explicit TGIFAnimator(QWidget* parent = nullptr);
  ~TGIFAnimator() override;

  // The image; loading it or assigning to it updates the control.
  TGIFImage& Image() { return FImage; }
  const TGIFImage& Image() const { return FImage; }
  void SetImage(const TGIFImage& image);  // copies into the control's own image

  // Load the image; raise EInvalidGraphicOperation (the message is UTF-8) on a
  // file that cannot be read or is no usable GIF.
  void LoadFromFile(const QString& path);
  void LoadFromBytes(std::span<const std::uint8_t> bytes);
  void LoadFromBytes(const QByteArray& bytes);

  bool Animate() const { return FAnimate; }
  void SetAnimate(bool on);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool on);
  bool Center() const { return FCenter; }
  void SetCenter(bool on);
  int FrameIndex() const { return FFrameIndex; }
  void SetFrameIndex(int index);
  bool Loop() const { return FLoop; }
  void SetLoop(bool on) { FLoop = on; }
  bool Stretch() const { return FStretch; }
  void SetStretch(bool on);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool on);

  // How long the current frame stays: its delay clamped to 50..10000 ms, or 0
  // when there is nothing to animate.
  int FrameDelay() const;
  // The composed picture of frame `index` and the colour it is transparent on
  // (kNoColor when opaque); left-out pixels have alpha 0.
  QImage ComposeFrame(int index, TColor& keyColor);
  const TAnimTimer& AnimTimer() const { return FAnimTimer; }

  QSize sizeHint() const override;

 public slots:
  // One timer tick: the next frame, or frame 0 after the last.
  void AdvanceFrame();

 signals:
  void OnChange();
  void OnFrameChanged();
  void OnStart();
  void OnStop();
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void HandleImageChange();
  void ApplyAutoSize();
  TColor WindowColor() const;

  TGIFImage FImage;
  TGIFCompositor FCompositor;
  TAnimTimer FAnimTimer;
  bool FAnimate = false;
  bool FAutoSize = true;
  bool FCenter = false;
  int FFrameIndex = 0;
  bool FLoop = true;
  bool FStretch = false;
  bool FTransparent = true;
  bool FPressed = false;
};

}  // namespace rasp
