#pragma once
// Windows metafile banners (WMF and EMF), drawn by the helper program
// rasp-metafile in a process of its own: a metafile that crashes or hangs
// the metafile libraries costs the banner, never the window.

#include "app/metafile/MetafileConvert.h"

#include <QByteArray>
#include <QImage>

namespace rasp {

// How long the helper may take before it is stopped and the banner refused.
inline constexpr int MetafileTimeoutMs = 10000;

// The picture at the metafile's own size (96 dpi). Throws EBannerPictureError
// when the data is no metafile of that kind, the helper fails or takes too
// long, or the helper cannot be found.
QImage RenderMetafile(const QByteArray& bytes, TMetafileKind kind, int timeoutMs = MetafileTimeoutMs);

// The helper beside the running program, else the one of this build.
QString MetafileHelperPath();

} // namespace rasp
