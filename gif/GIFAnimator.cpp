#include "gif/GIFAnimator.h"

#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "gif/GIFQImage.h"

namespace rasp {

TGIFAnimator::TGIFAnimator(QWidget* parent) : QWidget(parent) {
  resize(105, 105);
  FImage.OnChange = [this] { HandleImageChange(); };
}

TGIFAnimator::~TGIFAnimator() {
  // The image outlives no callback into a half-destroyed control.
  FImage.OnChange = nullptr;
}

void TGIFAnimator::SetImage(const TGIFImage& image) { FImage.Assign(image); }

void TGIFAnimator::LoadFromFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    RaiseGIFError(FormatGIFMessage(gifmsg::CannotOpen, path.toStdString()));
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) RaiseGIFError(gifmsg::StreamRead);
  LoadFromBytes(bytes);
}

void TGIFAnimator::LoadFromBytes(std::span<const std::uint8_t> bytes) { FImage.LoadFromBytes(bytes); }

void TGIFAnimator::LoadFromBytes(const QByteArray& bytes) {
  LoadFromBytes(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                              std::size_t(bytes.size())));
}

int TGIFAnimator::FrameDelay() const {
  if (FImage.Count() < 2 || FFrameIndex < 0 || FFrameIndex >= FImage.Count()) return 0;
  const std::uint32_t ms = FImage.Frame(FFrameIndex).DelayMs;
  return int(std::clamp<std::uint32_t>(ms, kMinDelayMs, kMaxDelayMs));
}

void TGIFAnimator::HandleImageChange() {
  FCompositor.Forget();
  FFrameIndex = FImage.ActiveFrame;
  // An empty image or a single frame leaves the timer without ticks.
  FAnimTimer.SetInterval(FrameDelay());
  ApplyAutoSize();
  update();
  emit OnChange();
}

void TGIFAnimator::ApplyAutoSize() {
  if (!FAutoSize || FImage.Empty()) return;
  resize(FImage.LogicalWidth, FImage.LogicalHeight);
  updateGeometry();
}

QSize TGIFAnimator::sizeHint() const {
  if (FAutoSize && !FImage.Empty()) return {FImage.LogicalWidth, FImage.LogicalHeight};
  return {105, 105};
}

void TGIFAnimator::SetAnimate(bool on) {
  if (on == FAnimate) return;
  if (on) {
    FAnimTimer.SetOnTimer([this] { AdvanceFrame(); });
    FAnimTimer.SetEnabled(true);
    FAnimate = FAnimTimer.Enabled();
    emit OnStart();
  } else {
    FAnimTimer.SetEnabled(false);
    FAnimTimer.SetOnTimer(nullptr);
    FAnimate = false;
    emit OnStop();
    update();
  }
}

void TGIFAnimator::SetAutoSize(bool on) {
  FAutoSize = on;
  ApplyAutoSize();
}

void TGIFAnimator::SetCenter(bool on) {
  if (on == FCenter) return;
  FCenter = on;
  update();
}

void TGIFAnimator::SetStretch(bool on) {
  if (on == FStretch) return;
  FStretch = on;
  update();
}

void TGIFAnimator::SetTransparent(bool on) {
  if (on == FTransparent) return;
  FTransparent = on;
  update();
}

void TGIFAnimator::SetFrameIndex(int index) {
  if (index == FFrameIndex || index < 0 || index >= FImage.Count()) return;
  FFrameIndex = index;
  FAnimTimer.SetInterval(FrameDelay());
  emit OnFrameChanged();
  update();
}

void TGIFAnimator::AdvanceFrame() {
  if (!isVisible() || FImage.Count() < 2) return;
  FFrameIndex = FFrameIndex + 1 >= FImage.Count() ? 0 : FFrameIndex + 1;
  emit OnFrameChanged();
  update();
  FAnimTimer.SetInterval(FrameDelay());
  // LoopCount of the file is not consulted: a looping banner plays for ever.
  if (!FLoop && FFrameIndex == 0) SetAnimate(false);
}

TColor TGIFAnimator::WindowColor() const { return FromQColor(palette().color(QPalette::Base)); }

QImage TGIFAnimator::ComposeFrame(int index, TColor& keyColor) {
  const TGIFComposite& pic = FCompositor.ComposeFrame(FImage, index, WindowColor(), keyColor);
  return CompositeToQImage(pic, false);
}

void TGIFAnimator::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // A transparent or empty image lets the parent show through; anything else
  // sits on the control's own colour.
  if (!FImage.IsTransparent() && !FImage.Empty()) p.fillRect(rect(), palette().color(backgroundRole()));
  if (FImage.Empty() || FImage.LogicalWidth < 1 || FImage.LogicalHeight < 1) return;

  TColor key = kNoColor;
  QImage picture;
  try {
    const TGIFComposite& pic = FCompositor.ComposeFrame(FImage, FFrameIndex, WindowColor(), key);
    picture = CompositeToQImage(pic, !(key != kNoColor && FTransparent));
  } catch (const EInvalidGraphicOperation&) {
    // A frame that cannot be decoded (no colour table) is left undrawn rather
    // than taking the window down from inside a paint.
    FCompositor.Forget();
    return;
  }
  QRect target;
  if (FStretch)
    target = rect();
  else if (FCenter)
    target = QRect((width() - picture.width()) / 2, (height() - picture.height()) / 2, picture.width(),
                   picture.height());
  else
    target = QRect(0, 0, picture.width(), picture.height());
  p.drawImage(target, picture);
}

void TGIFAnimator::changeEvent(QEvent* event) {
  // The window colour may fill parts of the cached picture.
  if (event->type() == QEvent::PaletteChange) {
    FCompositor.Forget();
    update();
  }
  QWidget::changeEvent(event);
}

void TGIFAnimator::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) FPressed = true;
  QWidget::mousePressEvent(event);
}

void TGIFAnimator::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = FPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  FPressed = false;
  QWidget::mouseReleaseEvent(event);
  if (click) emit clicked();
}

}  // namespace rasp
