#include "skinctrls/TbsSkinCustomControl.h"

#include "skin/bsSkinData.h"
#include "skinctrls/bsSkinFont.h"
#include "skinctrls/bsSysColors.h"

#include <QRegion>
#include <QResizeEvent>

namespace rasp {

TbsImageView bsView(const QImage& image)
{
    if (image.isNull() || image.depth() != 32)
        return {};
    return {reinterpret_cast<const std::uint32_t*>(image.constBits()), image.width(), image.height(),
            int(image.bytesPerLine() / 4)};
}

TbsImageTarget bsTarget(QImage& image)
{
    if (image.isNull() || image.depth() != 32)
        return {};
    return {reinterpret_cast<std::uint32_t*>(image.bits()), image.width(), image.height(),
            int(image.bytesPerLine() / 4)};
}

QRect bsQRect(const TbsRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

TbsSkinCustomControl::TbsSkinCustomControl(QWidget* parent, const QString& skinDataName)
    : TbsSkinControl(parent, skinDataName), FDefaultFont(bsDefaultSkinFont()),
      FDefaultFontColor(clBtnText())
{
}

void TbsSkinCustomControl::SetDefaultFont(const QFont& font)
{
    FDefaultFont = font;
    DefaultFontChanged();
    if (!IsSkinned())
        update();
}

void TbsSkinCustomControl::SetDefaultFontColor(const QColor& c)
{
    FDefaultFontColor = c;
    DefaultFontChanged();
    if (!IsSkinned())
        update();
}

void TbsSkinCustomControl::SetDefaultWidth(int w)
{
    FDefaultWidth = w;
    if (!IsSkinned() && w > 0)
        resize(w, height());
}

void TbsSkinCustomControl::SetDefaultHeight(int h)
{
    FDefaultHeight = h;
    if (!IsSkinned() && h > 0)
        resize(width(), h);
}

void TbsSkinCustomControl::SetUseSkinFont(bool on)
{
    FUseSkinFont = on;
    update();
}

void TbsSkinCustomControl::LoadSkinEntry()
{
    TbsSkinControl::LoadSkinEntry();
    FPicture = nullptr;
    FMaskPicture = nullptr;
    FGeometry = {};
    FUsable = false;
    const auto* entry = dynamic_cast<const TbsDataSkinCustomControl*>(SkinEntry());
    if (!entry) {
        FCurrent = bsInitialGeometry(FGeometry);
        return;
    }
    const TbsSkinData* data = SkinData();
    FPicture = data->ActivePicture(entry->pictureindex);
    if (!FWindowless)
        FMaskPicture = data->ActivePicture(entry->maskpictureindex);
    if (FPicture && FPicture->isNull())
        FPicture = nullptr;
    FGeometry.SkinRect = entry->skinrect;
    FGeometry.LeftTop = entry->lefttoppoint;
    FGeometry.RightTop = entry->righttoppoint;
    FGeometry.LeftBottom = entry->leftbottompoint;
    FGeometry.RightBottom = entry->rightbottompoint;
    FGeometry.ClientRect = entry->clientrect;
    FGeometry.Mode = bsPieceMode(entry->skinrect, entry->righttoppoint, entry->leftbottompoint,
                                 entry->rightbottompoint);
    FUsable = FPicture && bsPieceGeometryUsable(FGeometry, FPicture->width(), FPicture->height());
    if (!FUsable) {
        FCurrent = bsInitialGeometry(FGeometry);
        return;
    }
    int w = width(), h = height();
    FCurrent = bsFitSizeToSkin(FGeometry, w, h);
}

void TbsSkinCustomControl::ForgetSkinEntry()
{
    TbsSkinControl::ForgetSkinEntry();
    FPicture = nullptr;
    FMaskPicture = nullptr;
    FUsable = false;
}

bool TbsSkinCustomControl::IsSkinned() const { return SkinIndex() != -1 && FUsable; }

void TbsSkinCustomControl::FitSizeToSkin(int& width, int& height)
{
    if (!IsSkinned())
        return;
    FCurrent = bsFitSizeToSkin(FGeometry, width, height);
}

TbsRect TbsSkinCustomControl::MapSkinRect(const TbsRect& r) const
{
    if (!IsSkinned())
        return r;
    return bsMapSkinRect(FGeometry, width(), height(), r);
}

TbsRect TbsSkinCustomControl::StateRect(const TbsRect& r) const
{
    if (!FPicture || r.IsEmpty() || r.Width() != FGeometry.SkinRect.Width() ||
        r.Height() != FGeometry.SkinRect.Height() || r.Left < 0 || r.Top < 0 ||
        r.Right > FPicture->width() || r.Bottom > FPicture->height())
        return FGeometry.SkinRect;
    return r;
}

void TbsSkinCustomControl::BuildPieceImage(QImage& image, const QImage* picture,
                                           const TbsRect& source) const
{
    if (!picture)
        return;
    TbsPieceGeometry g = FGeometry;
    g.SkinRect = source;
    bsBuildPieceImage(bsTarget(image), bsView(*picture), source, g, width(), height());
}

void TbsSkinCustomControl::SetBounds(int left, int top, int width, int height)
{
    LoadSkinEntry();
    if (IsSkinned() && QSize(width, height) != size())
        FitSizeToSkin(width, height);
    FFitting = true;
    setGeometry(left, top, width, height);
    FFitting = false;
    if (IsSkinned())
        UpdateSkinRegion();
    SkinGeometryChanged();
    update();
}

void TbsSkinCustomControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (FFitting)
        return;
    // Layouts and callers place the control directly; the skin still decides.
    LoadSkinEntry();
    if (IsSkinned()) {
        int w = width(), h = height();
        FitSizeToSkin(w, h);
        if (QSize(w, h) != size()) {
            FFitting = true;
            resize(w, h);
            FFitting = false;
        }
        UpdateSkinRegion();
    }
    SkinGeometryChanged();
    update();
}

void TbsSkinCustomControl::ApplySkin()
{
    LoadSkinEntry();
    const QSize before = size();
    if (!IsSkinned()) {
        const int w = FDefaultWidth > 0 ? FDefaultWidth : width();
        const int h = FDefaultHeight > 0 ? FDefaultHeight : height();
        if (QSize(w, h) != before)
            SetBounds(x(), y(), w, h);
    } else {
        int w = width(), h = height();
        FitSizeToSkin(w, h);
        if (QSize(w, h) != before)
            SetBounds(x(), y(), w, h);
    }
    if (size() == before || !IsSkinned()) {
        UpdateSkinRegion();
        SkinGeometryChanged();
        update();
    }
}

void TbsSkinCustomControl::UpdateSkinRegion()
{
    if (FWindowless)
        return;
    if (!IsSkinned() || !FMaskPicture || FMaskPicture->isNull()) {
        if (!mask().isEmpty())
            clearMask();
        return;
    }
    const TbsRect& s = FGeometry.SkinRect;
    if (s.Right > FMaskPicture->width() || s.Bottom > FMaskPicture->height()) {
        clearMask();
        return;
    }
    int w = 0, h = 0;
    bsPieceImageSize(FGeometry, width(), height(), w, h);
    // The mask laid out at the control's size like the image, every black run a rectangle.
    TbsPixelImage laid(w, h, 0xFFFFFFFFu);
    bsBuildPieceImage(laid.Target(), bsView(*FMaskPicture), s, FGeometry, width(), height());
    const std::vector<TbsRect> runs = bsMaskRuns(laid.View());
    std::vector<QRect> rects;
    rects.reserve(runs.size());
    for (const TbsRect& r : runs)
        rects.push_back(bsQRect(r));
    QRegion region;
    if (!rects.empty())
        region.setRects(rects.data(), int(rects.size()));
    if (FGeometry.Mode != pmFixed)
        region = region.united(bsQRect(FCurrent.ClientRect));
    setMask(region);
}

QFont TbsSkinCustomControl::ControlFont(const TbsSkinFontFields* fields) const
{
    if (IsSkinned() && FUseSkinFont && fields)
        return bsSkinFont(fields->fontname, fields->fontheight, fields->fontstyle);
    return FDefaultFont;
}

QRect TbsSkinCustomControl::ClientArea() const
{
    if (IsSkinned())
        return bsQRect(FCurrent.ClientRect);
    return rect();
}

int TbsSkinCustomControl::CharSet() const { return bsSkinCharSet(SkinData(), FDefaultCharSet); }

void TbsSkinCustomControl::DrawDefaultImage(QImage& image) { image.fill(clBtnFace()); }

void TbsSkinCustomControl::DrawSkinImage(QImage& image)
{
    image.fill(clBtnFace());
    BuildPieceImage(image, FPicture, FGeometry.SkinRect);
}

TbsGraphicSkinCustomControl::TbsGraphicSkinCustomControl(QWidget* parent, const QString& skinDataName)
    : TbsSkinCustomControl(parent, skinDataName)
{
    FWindowless = true;
}

}  // namespace rasp
