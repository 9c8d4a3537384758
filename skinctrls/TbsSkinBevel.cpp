#include "skinctrls/TbsSkinBevel.h"

#include <QPainter>

namespace rasp {

TbsSkinBevel::TbsSkinBevel(QWidget* parent)
    : QFrame(parent), TbsSkinBinding(QStringLiteral("bevel"))
{
    setFrameStyle(QFrame::NoFrame);
    setFixedHeight(2);
}

// An etched line: button shadow above, button highlight below.
void TbsSkinBevel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, 1, width() - 1, 1);
}

}  // namespace rasp
