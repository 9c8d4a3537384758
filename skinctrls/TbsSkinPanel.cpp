#include "skinctrls/TbsSkinPanel.h"

#include <QPainter>

namespace rasp {

TbsSkinPanel::TbsSkinPanel(QWidget* parent)
    : QFrame(parent), TbsSkinBinding(QStringLiteral("panel"))
{
    resize(150, 150);
    SetBorderStyle(bvFrame);
}

void TbsSkinPanel::SetBorderStyle(TbsBorderStyle style)
{
    FBorderStyle = style;
    switch (style) {
    case bvFrame:
        // Drawn in paintEvent: a thin line in the button-shadow colour.
        setFrameStyle(QFrame::NoFrame);
        setContentsMargins(1, 1, 1, 1);
        break;
    case bvRaised: setFrameStyle(QFrame::Panel | QFrame::Raised); break;
    case bvLowered: setFrameStyle(QFrame::Panel | QFrame::Sunken); break;
    case bvNone:
        setFrameStyle(QFrame::NoFrame);
        setContentsMargins(0, 0, 0, 0);
        break;
    }
    update();
}

void TbsSkinPanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (FBorderStyle != bvFrame)
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace rasp
