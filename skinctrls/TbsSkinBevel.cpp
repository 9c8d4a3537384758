#include "skinctrls/TbsSkinBevel.h"

#include "skin/bsSkinControls.h"
#include "skin/bsSkinData.h"
#include "skinctrls/bsSkinFont.h"
#include "skinctrls/bsSysColors.h"

#include <QPainter>

namespace rasp {

namespace {

const TbsDataSkinBevel* BevelEntry(const TbsSkinData* data, const QString& name)
{
    if (!data || data->SkinEmpty)
        return nullptr;
    const int index = data->IndexOfControl(name.toStdString());
    if (index < 0)
        return nullptr;
    return dynamic_cast<const TbsDataSkinBevel*>(data->SkinControls[std::size_t(index)].get());
}

// The outline of r (right and bottom inclusive) in two colours.
void Outline(QPainter& p, int l, int t, int r, int b, const QColor& topLeft, const QColor& bottomRight)
{
    p.setPen(topLeft);
    p.drawLine(l, t, r, t);
    p.drawLine(l, t, l, b);
    p.setPen(bottomRight);
    p.drawLine(l, b, r, b);
    p.drawLine(r, t, r, b);
}

}  // namespace

TbsSkinBevel::TbsSkinBevel(QWidget* parent) : QWidget(parent)
{
    resize(50, 50);
}

void TbsSkinBevel::SetSkinData(TbsSkinData* skinData)
{
    FSkinData = skinData;
    if (skinData && !skinData->SkinEmpty)
        ApplySkin();
}

void TbsSkinBevel::ApplySkin() { update(); }

void TbsSkinBevel::SetShape(TbsBevelShape shape)
{
    FShape = shape;
    update();
}

void TbsSkinBevel::SetStyle(TbsBevelStyle style)
{
    FStyle = style;
    update();
}

void TbsSkinBevel::SetDividerMode(bool on)
{
    FDividerMode = on;
    update();
}

QColor TbsSkinBevel::LightColor() const
{
    const TbsDataSkinBevel* e = BevelEntry(FSkinData.data(), FSkinDataName);
    return e ? bsColor(e->lightcolor) : clBtnHighlight();
}

QColor TbsSkinBevel::DarkColor() const
{
    const TbsDataSkinBevel* e = BevelEntry(FSkinData.data(), FSkinDataName);
    return e ? bsColor(e->darkcolor) : clBtnShadow();
}

void TbsSkinBevel::paintEvent(QPaintEvent*)
{
    const QColor light = LightColor(), dark = DarkColor();
    const QColor first = FStyle == bsLowered ? dark : light;
    const QColor second = FStyle == bsLowered ? light : dark;
    const int w = width(), h = height();
    QPainter p(this);
    if (FDividerMode) {
        // A two-pixel groove across the middle.
        switch (FShape) {
        case bsTopLine:
        case bsBottomLine: Outline(p, 2, h / 2 - 1, w - 2, h / 2, first, second); break;
        case bsSpacer: break;
        default: Outline(p, w / 2 - 1, 2, w / 2, h - 2, first, second); break;
        }
        return;
    }
    switch (FShape) {
    case bsBox: Outline(p, 0, 0, w - 1, h - 1, first, second); break;
    case bsFrame:
        Outline(p, 1, 1, w - 1, h - 1, second, second);
        Outline(p, 0, 0, w - 2, h - 2, first, first);
        break;
    case bsTopLine:
        p.setPen(first);
        p.drawLine(0, 0, w - 1, 0);
        p.setPen(second);
        p.drawLine(0, 1, w - 1, 1);
        break;
    case bsBottomLine:
        p.setPen(first);
        p.drawLine(0, h - 2, w - 1, h - 2);
        p.setPen(second);
        p.drawLine(0, h - 1, w - 1, h - 1);
        break;
    case bsLeftLine:
        p.setPen(first);
        p.drawLine(0, 0, 0, h - 1);
        p.setPen(second);
        p.drawLine(1, 0, 1, h - 1);
        break;
    case bsRightLine:
        p.setPen(first);
        p.drawLine(w - 2, 0, w - 2, h - 1);
        p.setPen(second);
        p.drawLine(w - 1, 0, w - 1, h - 1);
        break;
    case bsSpacer: break;
    }
}

}  // namespace rasp
