#pragma once
// The blend a morphing button shows between its normal and its active look.
// Kept behind this one function so that the skin engine's own transition
// effects can take its place.

#include "skin/bsSkinTypes.h"

#include <QImage>

// The normal look moved towards the active one by factor k (0 .. 1). Both
// images have the same size; the result has it too.
QImage bsMorphImage(const QImage& normal, const QImage& active, TbsMorphKind kind, double k);
