#pragma once
// Hand-over between TbsEffectBmp and QImage. The buffer's layout is exactly
// that of QImage::Format_BGR888 (rows padded to four bytes), so a view costs
// nothing and a copy is one memcpy per buffer.

#include "skin/bsEffects.h"

#include <QImage>
#include <QRect>

class QPainter;

// A QImage sharing the buffer's pixels; valid while the buffer lives and
// keeps its size.
QImage bsEffectBmpView(TbsEffectBmp& bmp);
QImage bsEffectBmpView(const TbsEffectBmp& bmp);
// A buffer holding the part of the image inside source (the whole image when
// source is null), converted to 24 bits; parts outside the image stay black.
TbsEffectBmp bsEffectBmpFromImage(const QImage& image, QRect source = QRect());
// Draws the whole buffer with its top-left corner at (x, y).
void bsDrawEffectBmp(QPainter& painter, int x, int y, const TbsEffectBmp& bmp);
