#include "skinctrls/TbsSkinButton.h"

#include <QPainter>

namespace rasp {

TbsSkinButton::TbsSkinButton(QWidget* parent, const QString& caption)
    : QPushButton(caption, parent), TbsSkinBinding(QStringLiteral("button"))
{
    resize(75, 25);
    setAutoDefault(false);
    setAttribute(Qt::WA_Hover);
}

void TbsSkinButton::enterEvent(QEnterEvent* event)
{
    QPushButton::enterEvent(event);
    update();
}

void TbsSkinButton::leaveEvent(QEvent* event)
{
    QPushButton::leaveEvent(event);
    update();
}

// The unskinned look: a flat face with a thin frame; navy and a light blue
// fill while the pointer is over it or it has the focus, a darker fill and
// the caption one pixel down and right while it is pressed.
void TbsSkinButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    const bool hot = underMouse() && isEnabled();
    const bool pressed = isDown() && hot;
    if (pressed) {
        painter.setPen(QColor(0x00, 0x00, 0x80));
        painter.setBrush(QColor(133, 147, 181));
    } else if (hot || (hasFocus() && focusPolicy() != Qt::NoFocus)) {
        painter.setPen(QColor(0x00, 0x00, 0x80));
        painter.setBrush(QColor(182, 189, 210));
    } else {
        painter.setPen(palette().color(QPalette::Mid));
        painter.setBrush(palette().color(QPalette::Button));
    }
    painter.drawRect(frame);
    painter.setPen(isEnabled() ? palette().color(QPalette::ButtonText) : palette().color(QPalette::Mid));
    const QRect textRect = pressed ? rect().translated(1, 1) : rect();
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

}  // namespace rasp
