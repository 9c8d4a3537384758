#include "skinctrls/TbsSkinLook.h"

#include "skinctrls/TbsSkinCustomControl.h"

#include <algorithm>

namespace rasp {

bool TbsSkinLook::LookUp(const QString& name)
{
    Forget();
    TbsSkinData* data = FData.data();
    if (!data || data->SkinEmpty)
        return false;
    const int index = data->IndexOfControl(name.toStdString());
    if (index < 0)
        return false;
    const auto* entry = dynamic_cast<const TbsDataSkinCustomControl*>(data->SkinControls[std::size_t(index)].get());
    if (!entry)
        return false;
    const QImage* picture = data->ActivePicture(entry->pictureindex);
    if (!picture || picture->isNull())
        return false;
    TbsPieceGeometry g;
    g.SkinRect = entry->skinrect;
    g.LeftTop = entry->lefttoppoint;
    g.RightTop = entry->righttoppoint;
    g.LeftBottom = entry->leftbottompoint;
    g.RightBottom = entry->rightbottompoint;
    g.ClientRect = entry->clientrect;
    g.Mode = bsPieceMode(g.SkinRect, g.RightTop, g.LeftBottom, g.RightBottom);
    if (g.Mode == pmNone || !bsPieceGeometryUsable(g, picture->width(), picture->height()))
        return false;
    FEntry = entry;
    FPicture = picture;
    FGeometry = g;
    return true;
}

QRect TbsSkinLook::ClientRect(int width, int height) const
{
    int w = width, h = height;
    const TbsCurrentGeometry c = bsFitSizeToSkin(FGeometry, w, h);
    return bsQRect(c.ClientRect);
}

bool TbsSkinLook::InPicture(const TbsRect& r) const
{
    return FPicture && !r.IsEmpty() && r.Left >= 0 && r.Top >= 0 && r.Right <= FPicture->width() &&
           r.Bottom <= FPicture->height();
}

QImage TbsSkinLook::Build(const TbsRect& state, int width, int height) const
{
    if (!FPicture)
        return {};
    TbsRect source = FGeometry.SkinRect;
    if (InPicture(state) && state.Width() == source.Width() && state.Height() == source.Height())
        source = state;
    int w = 0, h = 0;
    bsPieceImageSize(FGeometry, width, height, w, h);
    if (w <= 0 || h <= 0)
        return {};
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QImage picture = FPicture->depth() == 32 ? *FPicture : FPicture->convertToFormat(QImage::Format_RGB32);
    TbsPieceGeometry g = FGeometry;
    g.SkinRect = source;
    bsBuildPieceImage(bsTarget(image), bsView(picture), source, g, width, height);
    // The picture's pixels carry no alpha of their own.
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] |= 0xFF000000u;
    }
    return image;
}

}  // namespace rasp

namespace rasp {
QImage bsHorizontalPieces(const QImage* picture, const TbsRect& src, int left, int right, int width)
{
    if (!picture || src.IsEmpty() || src.Left < 0 || src.Top < 0 || src.Right > picture->width() ||
        src.Bottom > picture->height() || width <= 0)
        return {};
    TbsPieceGeometry g;
    g.SkinRect = src;
    left = std::clamp(left, 0, src.Width());
    right = std::clamp(right, 0, src.Width() - left);
    g.LeftTop = {left, 0};
    g.RightTop = {src.Width() - right, 0};
    if (g.RightTop.X == 0)
        g.RightTop.X = src.Width();  // a non-zero point keeps the mode horizontal
    g.ClientRect = {0, 0, src.Width(), src.Height()};
    g.Mode = pmHorizontal;
    QImage image(width, src.Height(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QImage pic = picture->depth() == 32 ? *picture : picture->convertToFormat(QImage::Format_RGB32);
    bsBuildPieceImage(bsTarget(image), bsView(pic), src, g, width, src.Height());
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] |= 0xFF000000u;
    }
    return image;
}
}  // namespace rasp
