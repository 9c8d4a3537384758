#pragma once
// Windows metafiles drawn into PNG pictures by Debian's metafile libraries: a
// WMF by libwmf's raster device, an EMF converted to SVG by libemf2svg and
// drawn with QtSvg. These libraries trust what they read, so the program runs
// this code only in the helper process rasp-metafile, never in the window.

#include <QByteArray>

#include <stdexcept>

namespace rasp {

enum class TMetafileKind { Windows, Enhanced };

// Pictures larger than this on a side are refused rather than allocated.
inline constexpr int MaxMetafilePictureSide = 4096;

class EMetafileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The PNG of the metafile at its own size (96 dpi). Throws EMetafileError,
// with a message for the user, when the data is no metafile of that kind.
QByteArray ConvertMetafileToPng(const QByteArray& bytes, TMetafileKind kind);

} // namespace rasp
