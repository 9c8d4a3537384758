#include "skinctrls/bsButtonMorph.h"

#include <algorithm>
#include <cmath>

namespace {

// Weight of the normal look per position along the blended side.
std::uint32_t Blend(std::uint32_t n, std::uint32_t a, double wNormal) {
  auto ch = [&](int shift) {
    const double v = wNormal * double((n >> shift) & 0xFF) + (1.0 - wNormal) * double((a >> shift) & 0xFF);
    return std::uint32_t(std::clamp(int(std::lround(v)), 0, 255)) << shift;
  };
  return 0xFF000000u | ch(16) | ch(8) | ch(0);
}

}  // namespace

QImage bsMorphImage(const QImage& normal, const QImage& active, TbsMorphKind kind, double k) {
  if (normal.size() != active.size() || normal.isNull()) return normal;
  const QImage n = normal.convertToFormat(QImage::Format_RGB32);
  const QImage a = active.convertToFormat(QImage::Format_RGB32);
  QImage out(n.size(), QImage::Format_RGB32);
  k = std::clamp(k, 0.0, 1.0);
  const int w = n.width(), h = n.height();
  const bool alongWidth = w >= h;
  const int length = alongWidth ? w : h;
  const int band = int(std::lround(length * k));
  const double side = (length - band) / 2.0;
  for (int y = 0; y < h; ++y) {
    const auto* pn = reinterpret_cast<const std::uint32_t*>(n.constScanLine(y));
    const auto* pa = reinterpret_cast<const std::uint32_t*>(a.constScanLine(y));
    auto* po = reinterpret_cast<std::uint32_t*>(out.scanLine(y));
    for (int x = 0; x < w; ++x) {
      double wNormal = 1.0 - k;
      if (kind == TbsMorphKind::mkGradient) {
        // A centred band of the active look, fading to the normal look outwards.
        const int pos = alongWidth ? x : y;
        const double bandStart = side, bandEnd = side + band;
        double dist = 0;
        if (pos < bandStart) dist = bandStart - pos;
        else if (pos >= bandEnd) dist = pos - bandEnd + 1;
        wNormal = side > 0 ? std::min(1.0, dist / side) : 0.0;
      }
      po[x] = Blend(pn[x], pa[x], wNormal);
    }
  }
  return out;
}
