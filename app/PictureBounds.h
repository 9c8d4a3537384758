#pragma once
// What decoding a banner or icon file may cost, checked on its bytes before
// any decoder sees them. The decoders take a chunk's or an image's stated
// size at its word and allocate it; a file of a few hundred bytes can state
// gigabytes. Each check throws EBannerPictureError with the reason.

#include "app/BannerPicture.h"

#include <QByteArrayView>

namespace rasp {

// An icon file may hold at most this many pictures, and all of them together
// at most this many pixels (as many as one banner of the largest size).
inline constexpr int MaxIconPictures = 256;
inline constexpr qint64 MaxIconPixels = qint64(MaxBannerPictureSide) * MaxBannerPictureSide;

// Throws when an icon file holding this many pictures, with this many
// pixels in all, is more than an icon may be.
void CheckIconTotal(qint64 pictures, qint64 pixels);

// A PNG's chunks, up to its end chunk, must lie inside the data: no stated
// length may run past the end. Data that does not start as a PNG is left
// to the decoder.
void CheckPngChunks(QByteArrayView png);

// An icon (or cursor) file's directory and pictures must lie inside the
// data, a PNG picture's chunks as above, no picture may be larger than a
// banner may be, and all together must stay within the limits above. Data
// that does not start as an icon file is left to the decoder.
void CheckIconFile(QByteArrayView ico);

} // namespace rasp
