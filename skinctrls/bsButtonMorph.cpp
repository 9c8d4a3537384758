#include "skinctrls/bsButtonMorph.h"

#include "skin/bsEffectImage.h"

QImage bsMorphImage(const QImage& normal, const QImage& active, TbsMorphKind kind, double k) {
  if (normal.size() != active.size() || normal.isNull()) return normal;
  TbsEffectBmp blended = bsEffectBmpFromImage(normal);
  const TbsEffectBmp target = bsEffectBmpFromImage(active);
  blended.Morph(kind, target, k);
  // The view shares the buffer's pixels; the conversion makes the copy that
  // outlives it.
  return bsEffectBmpView(blended).convertToFormat(QImage::Format_RGB32);
}
