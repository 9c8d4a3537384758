#pragma once
// The base of the three crash dialogs. Styled, a dialog has no window
// manager frame: it paints its own frame and small gradient caption and
// moves itself when the caption is dragged (so it also works where no
// window manager runs). Unstyled, it is an ordinary dialog.
#include <QDialog>
#include <QFont>

namespace rasp {

class TCrashStyledDialog : public QDialog {
  Q_OBJECT
public:
  TCrashStyledDialog(bool styled, const QString& caption, QWidget* parent = nullptr);

  bool Styled() const { return FStyled; }
  int FrameWidth() const { return FStyled ? 3 : 0; }
  int CaptionHeight() const { return FStyled ? 18 : 0; }
  // Top-left corner of the client area inside the window.
  QPoint ClientOrigin() const { return {FrameWidth(), FrameWidth() + CaptionHeight()}; }
  bool Painted() const { return FPainted; }

  QFont CaptionFont() const;
  static QFont FixedFont();

signals:
  void firstPaint();

protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void changeEvent(QEvent*) override;
  // Paints the client-area extras (the exception dialog's picture).
  virtual void PaintClient(class QPainter&) {}

private:
  bool FStyled;
  QString FCaption;
  bool FPainted = false;
  bool FDragging = false;
  QPoint FDragOffset;
};

} // namespace rasp
