#include "skinctrls/TbsSkinPanel.h"

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
    case bvFrame: setFrameStyle(QFrame::Box | QFrame::Plain); break;
    case bvRaised: setFrameStyle(QFrame::Panel | QFrame::Raised); break;
    case bvLowered: setFrameStyle(QFrame::Panel | QFrame::Sunken); break;
    case bvNone: setFrameStyle(QFrame::NoFrame); break;
    }
    if (style == bvFrame) {
        // The unskinned frame is a thin line in the button-shadow colour.
        QPalette p = palette();
        p.setColor(QPalette::WindowText, p.color(QPalette::Mid));
        setPalette(p);
    }
}

}  // namespace rasp
