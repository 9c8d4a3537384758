#pragma once
// The blend a morphing button shows between its normal and its active look,
// made by the skin engine's transition effects on 24-bit buffers.

#include "skin/bsSkinTypes.h"

#include <QImage>

// The normal look moved towards the active one by factor k (0 .. 1) with the
// entry's transition. Images of different sizes cannot be blended: the
// normal look is returned.
QImage bsMorphImage(const QImage& normal, const QImage& active, TbsMorphKind kind, double k);
