#include "skinctrls/TbsSkinControl.h"

#include "skin/bsSkinData.h"
#include "skinctrls/bsSysColors.h"

#include <QPainter>

namespace rasp {

TbsSkinControl::TbsSkinControl(QWidget* parent, const QString& skinDataName)
    : QWidget(parent), FSkinDataName(skinDataName)
{
    // The whole area is painted every time: no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TbsSkinControl::~TbsSkinControl() = default;

void TbsSkinControl::SetSkinData(TbsSkinData* skinData)
{
    FSkinData = skinData;
    if (skinData && !skinData->SkinEmpty)
        ApplySkin();
}

void TbsSkinControl::LookUp()
{
    const TbsSkinData* data = FSkinData.data();
    if (!data || data->SkinEmpty)
        FSkinIndex = -1;
    else
        FSkinIndex = data->IndexOfControl(FSkinDataName.toStdString());
}

const TbsDataSkinControl* TbsSkinControl::SkinEntry() const
{
    const TbsSkinData* data = FSkinData.data();
    if (FSkinIndex < 0 || !data || data->SkinEmpty || FSkinIndex >= int(data->SkinControls.size()))
        return nullptr;
    return data->SkinControls[std::size_t(FSkinIndex)].get();
}

void TbsSkinControl::LoadSkinEntry() { LookUp(); }

void TbsSkinControl::ApplySkin()
{
    LoadSkinEntry();
    update();
}

void TbsSkinControl::ForgetSkinEntry() { FSkinIndex = -1; }

void TbsSkinControl::SetBounds(int left, int top, int width, int height)
{
    LoadSkinEntry();
    setGeometry(left, top, width, height);
}

void TbsSkinControl::DrawDefaultImage(QImage& image) { image.fill(clBtnFace()); }

void TbsSkinControl::DrawSkinImage(QImage& image) { DrawDefaultImage(image); }

void TbsSkinControl::paintEvent(QPaintEvent*)
{
    if (width() <= 0 || height() <= 0)
        return;
    ++FPaintCount;
    FPainting = true;
    LoadSkinEntry();
    QImage image(size(), QImage::Format_RGB32);
    if (IsSkinned())
        DrawSkinImage(image);
    else
        DrawDefaultImage(image);
    QPainter(this).drawImage(0, 0, image);
    FPainting = false;
}

void TbsSkinControl::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    emit MouseEnter();
}

void TbsSkinControl::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    emit MouseLeave();
}

TbsGraphicSkinControl::TbsGraphicSkinControl(QWidget* parent, const QString& skinDataName)
    : TbsSkinControl(parent, skinDataName)
{
    FWindowless = true;
}

}  // namespace rasp
