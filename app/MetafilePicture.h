#pragma once
// Windows metafiles drawn into a picture by Debian's metafile libraries: a WMF
// by libwmf's raster device, an EMF converted to SVG and drawn with QtSvg.

#include <QByteArray>
#include <QImage>

namespace rasp {

enum class TMetafileKind { Windows, Enhanced };

// Pictures larger than this on a side are refused rather than allocated.
inline constexpr int MaxMetafilePictureSide = 4096;

// The picture at the metafile's own size (at 96 dpi for placeable WMFs).
// Throws EBannerPictureError when the data is no metafile of that kind or
// this build has no metafile support.
QImage RenderMetafile(const QByteArray& bytes, TMetafileKind kind);

} // namespace rasp
