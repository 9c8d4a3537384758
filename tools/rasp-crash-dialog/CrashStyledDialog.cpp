#include "tools/rasp-crash-dialog/CrashStyledDialog.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace rasp {

TCrashStyledDialog::TCrashStyledDialog(bool styled, const QString& caption, QWidget* parent)
    : QDialog(parent), FStyled(styled), FCaption(caption) {
  setWindowTitle(caption);
  Qt::WindowFlags f = Qt::Dialog | Qt::WindowStaysOnTopHint;
  if (styled)
    f |= Qt::FramelessWindowHint;
  setWindowFlags(f);
  if (styled) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(212, 208, 200));  // button face
    setPalette(pal);
    setAutoFillBackground(true);
  }
}

QFont TCrashStyledDialog::CaptionFont() const {
  QFont f = font();
  f.setBold(true);
  return f;
}

QFont TCrashStyledDialog::FixedFont() { return QFontDatabase::systemFont(QFontDatabase::FixedFont); }

void TCrashStyledDialog::paintEvent(QPaintEvent*) {
  QPainter p(this);
  PaintClient(p);
  if (FStyled) {
    const bool active = isActiveWindow();
    const QRect r = rect();
    p.setPen(Qt::NoPen);
    p.setBrush(active ? QColor(128, 128, 128) : QColor(96, 96, 96));
    // The band between border and client area, left, right and bottom.
    p.drawRect(0, 0, FrameWidth(), r.height());
    p.drawRect(r.width() - FrameWidth(), 0, FrameWidth(), r.height());
    p.drawRect(0, r.height() - FrameWidth(), r.width(), FrameWidth());
    p.drawRect(0, 0, r.width(), FrameWidth());
    // The caption: a gradient of (height / 5) steps, each 0.96 of the
    // previous colour and 2 pixels shorter at top and bottom.
    QRect cap(FrameWidth(), FrameWidth(), r.width() - 2 * FrameWidth(), CaptionHeight());
    int red = active ? 130 : 151, green = active ? 154 : 151, blue = active ? 194 : 151;
    p.fillRect(cap, QColor(red, green, blue));
    for (int i = 0; i < CaptionHeight() / 5; ++i) {
      red = std::min(255, int(std::nearbyint(red * 0.96)));
      green = std::min(255, int(std::nearbyint(green * 0.96)));
      blue = std::min(255, int(std::nearbyint(blue * 0.96)));
      cap.adjust(0, 2, 0, -2);
      p.fillRect(cap, QColor(red, green, blue));
    }
    QRect text(FrameWidth(), FrameWidth(), r.width() - 2 * FrameWidth(), CaptionHeight());
    p.setFont(CaptionFont());
    if (active) {
      p.setPen(QColor(34, 34, 34));
      p.drawText(text.adjusted(5, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, FCaption);
      p.setPen(Qt::white);
    } else {
      p.setPen(QColor(224, 224, 224));
    }
    p.drawText(text.adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, FCaption);
    p.setPen(active ? QColor(64, 64, 64) : QColor(48, 48, 48));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
  }
  if (!FPainted) {
    FPainted = true;
    emit firstPaint();
  }
}

void TCrashStyledDialog::mousePressEvent(QMouseEvent* e) {
  if (FStyled && e->button() == Qt::LeftButton && e->position().y() < FrameWidth() + CaptionHeight()) {
    FDragging = true;
    FDragOffset = e->globalPosition().toPoint() - frameGeometry().topLeft();
    return;
  }
  QDialog::mousePressEvent(e);
}

void TCrashStyledDialog::mouseMoveEvent(QMouseEvent* e) {
  if (FDragging) {
    move(e->globalPosition().toPoint() - FDragOffset);
    return;
  }
  QDialog::mouseMoveEvent(e);
}

void TCrashStyledDialog::mouseReleaseEvent(QMouseEvent* e) {
  FDragging = false;
  QDialog::mouseReleaseEvent(e);
}

void TCrashStyledDialog::changeEvent(QEvent* e) {
  if (e->type() == QEvent::ActivationChange)
    update();
  QDialog::changeEvent(e);
}

} // namespace rasp
