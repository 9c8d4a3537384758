#pragma once
// Hands decoded GIF frames and composed pictures to Qt as QImages.
#include <QImage>

#include "gif/GIFCompositor.h"
#include "gif/GIFFrame.h"

namespace rasp {

// A frame's bitmap as an indexed QImage with the frame's palette; the
// transparent index, when given, gets alpha 0.
QImage FrameToQImage(const TGIFBitmap& bitmap, int transparentIndex = -1);

// A composed picture; `opaque` drops the alpha so that left-out pixels show
// the colour they carry.
QImage CompositeToQImage(const TGIFComposite& picture, bool opaque);

QColor ToQColor(TColor c);
TColor FromQColor(const QColor& c);

}  // namespace rasp
