#include "skinctrls/bsPieceImage.h"

#include <algorithm>
#include <cstring>

namespace {

TbsRect Relative(const TbsRect& s, int l, int t, int r, int b) {
  return {s.Left + l, s.Top + t, s.Left + r, s.Top + b};
}

bool Between(int lo, int v, int hi) { return lo <= v && v <= hi; }

// Inside with the right and bottom edges excluded.
bool InsideOpen(const TbsRect& z, int x, int y) {
  return z.Left <= x && x < z.Right && z.Top <= y && y < z.Bottom;
}

bool InsideClosed(const TbsRect& z, int x, int y) {
  return z.Left <= x && x <= z.Right && z.Top <= y && y <= z.Bottom;
}

TbsRect Offset(TbsRect r, int dx, int dy) {
  r.Left += dx;
  r.Right += dx;
  r.Top += dy;
  r.Bottom += dy;
  return r;
}

// Fills len pixels of one row with the source row's columns [0, period),
// starting at column phase, by copying the part already written.
void RepeatRow(std::uint32_t* dst, int len, const std::uint32_t* src, int period, int phase) {
  const int first = std::min(len, period - phase);
  std::memcpy(dst, src + phase, std::size_t(first) * sizeof *dst);
  int filled = first;
  if (filled < len) {
    const int rest = std::min(len - filled, phase);
    std::memcpy(dst + filled, src, std::size_t(rest) * sizeof *dst);
    filled += rest;
  }
  // dst[0, filled) now holds whole periods (or the whole row).
  while (filled < len) {
    const int n = std::min(filled, len - filled);
    std::memcpy(dst + filled, dst, std::size_t(n) * sizeof *dst);
    filled += n;
  }
}

}  // namespace

int bsPieceMode(const TbsRect& skinRect, const TbsPoint& rightTop, const TbsPoint& leftBottom,
                const TbsPoint& rightBottom) {
  if (skinRect.IsEmpty()) return pmNone;
  if (rightBottom.X != 0 && rightBottom.Y != 0) return pmNinePiece;
  if (rightTop.X != 0 || rightTop.Y != 0) return pmHorizontal;
  if (leftBottom.X != 0 || leftBottom.Y != 0) return pmVertical;
  return pmFixed;
}

bool bsPieceGeometryUsable(const TbsPieceGeometry& g, int pictureWidth, int pictureHeight) {
  const TbsRect& s = g.SkinRect;
  if (g.Mode == pmNone || s.IsEmpty()) return false;
  if (s.Left < 0 || s.Top < 0 || s.Right > pictureWidth || s.Bottom > pictureHeight) return false;
  const int w = s.Width(), h = s.Height();
  const TbsRect& c = g.ClientRect;
  if (!(Between(0, c.Left, w) && Between(c.Left, c.Right, w) && Between(0, c.Top, h) &&
        Between(c.Top, c.Bottom, h)))
    return false;
  switch (g.Mode) {
  case pmFixed: return true;
  case pmHorizontal: return Between(0, g.LeftTop.X, w) && Between(g.LeftTop.X, g.RightTop.X, w);
  case pmVertical: return Between(0, g.LeftTop.Y, h) && Between(g.LeftTop.Y, g.LeftBottom.Y, h);
  case pmNinePiece:
    for (const TbsPoint* p : {&g.LeftTop, &g.RightTop, &g.LeftBottom, &g.RightBottom}) {
      if (!Between(0, p->X, w) || !Between(0, p->Y, h)) return false;
    }
    return g.LeftTop.X <= g.RightTop.X && g.LeftBottom.X <= g.RightBottom.X &&
           g.LeftTop.Y <= g.LeftBottom.Y && g.RightTop.Y <= g.RightBottom.Y;
  default: return false;
  }
}

TbsCurrentGeometry bsInitialGeometry(const TbsPieceGeometry& g) {
  return {g.LeftTop, g.RightTop, g.LeftBottom, g.RightBottom, g.ClientRect};
}

TbsCurrentGeometry bsFitSizeToSkin(const TbsPieceGeometry& g, int& width, int& height) {
  TbsCurrentGeometry c = bsInitialGeometry(g);
  const int sw = g.SkinRect.Width(), sh = g.SkinRect.Height();
  switch (g.Mode) {
  case pmFixed:
    width = sw;
    height = sh;
    break;
  case pmNinePiece: {
    const int dw = width - sw, dh = height - sh;
    c.RightTop.X += dw;
    c.LeftBottom.Y += dh;
    c.RightBottom.X += dw;
    c.RightBottom.Y += dh;
    c.ClientRect.Right += dw;
    c.ClientRect.Bottom += dh;
    break;
  }
  case pmHorizontal: {
    height = sh;
    const int dw = width - sw;
    c.RightTop.X += dw;
    c.ClientRect.Right += dw;
    break;
  }
  case pmVertical: {
    width = sw;
    const int dh = height - sh;
    c.LeftBottom.Y += dh;
    c.ClientRect.Bottom += dh;
    break;
  }
  default: break;
  }
  return c;
}

TbsRect bsMapSkinRect(const TbsPieceGeometry& g, int width, int height, const TbsRect& r) {
  const int sw = g.SkinRect.Width(), sh = g.SkinRect.Height();
  const int dw = width - sw, dh = height - sh;
  switch (g.Mode) {
  case pmNinePiece: {
    const TbsRect lt{0, 0, g.LeftTop.X, g.LeftTop.Y};
    const TbsRect rt{g.RightTop.X, 0, sw, g.RightTop.Y};
    const TbsRect lb{0, g.LeftBottom.Y, g.LeftBottom.X, sh};
    const TbsRect rb{g.RightBottom.X, g.RightBottom.Y, sw, sh};
    auto inside = [&](const TbsRect& z) {
      return InsideOpen(z, r.Left, r.Top) && InsideOpen(z, r.Right, r.Bottom);
    };
    if (inside(lt)) return r;
    if (inside(rt)) return Offset(r, dw, 0);
    if (inside(lb)) return Offset(r, 0, dh);
    if (inside(rb)) return Offset(r, dw, dh);
    auto tl = [&](const TbsRect& z) { return InsideClosed(z, r.Left, r.Top); };
    auto br = [&](const TbsRect& z) { return InsideClosed(z, r.Right, r.Bottom); };
    TbsRect m = r;
    if (tl(lt) && br(rb)) {
      m.Right += dw;
      m.Bottom += dh;
    } else if (tl(lt) && br(rt)) {
      m.Right += dw;
    } else if (tl(lb) && br(rb)) {
      m.Right += dw;
      m.Top += dh;
      m.Bottom += dh;
    } else if (tl(lt) && br(lb)) {
      m.Bottom += dh;
    } else if (tl(rt) && br(rb)) {
      m.Left += dw;
      m.Right += dw;
      m.Bottom += dh;
    }
    return m;
  }
  case pmHorizontal:
    if (r.Left <= g.LeftTop.X && r.Right >= g.RightTop.X) return {r.Left, r.Top, r.Right + dw, r.Bottom};
    if (r.Left >= g.RightTop.X) return Offset(r, dw, 0);
    return r;
  case pmVertical:
    if (r.Top <= g.LeftTop.Y && r.Bottom >= g.LeftBottom.Y) return {r.Left, r.Top, r.Right, r.Bottom + dh};
    if (r.Top >= g.LeftBottom.Y) return Offset(r, 0, dh);
    return r;
  default: return r;
  }
}

void bsPieceImageSize(const TbsPieceGeometry& g, int width, int height, int& outWidth,
                      int& outHeight) {
  switch (g.Mode) {
  case pmFixed:
    outWidth = g.SkinRect.Width();
    outHeight = g.SkinRect.Height();
    break;
  case pmHorizontal:
    outWidth = width;
    outHeight = g.SkinRect.Height();
    break;
  case pmVertical:
    outWidth = g.SkinRect.Width();
    outHeight = height;
    break;
  default:
    outWidth = width;
    outHeight = height;
    break;
  }
  outWidth = std::max(0, outWidth);
  outHeight = std::max(0, outHeight);
}

void bsCopyRect(const TbsImageTarget& target, int x, int y, const TbsImageView& picture,
                const TbsRect& source) {
  if (picture.IsEmpty() || !target.Bits) return;
  TbsRect s = source;
  // Clip the source to the picture, moving the destination with it.
  if (s.Left < 0) { x -= s.Left; s.Left = 0; }
  if (s.Top < 0) { y -= s.Top; s.Top = 0; }
  s.Right = std::min(s.Right, picture.Width);
  s.Bottom = std::min(s.Bottom, picture.Height);
  // Then to the target.
  if (x < 0) { s.Left -= x; x = 0; }
  if (y < 0) { s.Top -= y; y = 0; }
  s.Right = std::min(s.Right, s.Left + (target.Width - x));
  s.Bottom = std::min(s.Bottom, s.Top + (target.Height - y));
  const int w = s.Width(), h = s.Height();
  if (w <= 0 || h <= 0) return;
  for (int row = 0; row < h; ++row)
    std::memcpy(&target.At(x, y + row), picture.Ptr(s.Left, s.Top + row), std::size_t(w) * 4);
}

void bsTileRect(const TbsImageTarget& target, const TbsRect& dest, const TbsImageView& picture,
                const TbsRect& source) {
  if (picture.IsEmpty() || !target.Bits) return;
  const TbsRect s{std::max(source.Left, 0), std::max(source.Top, 0),
                  std::min(source.Right, picture.Width), std::min(source.Bottom, picture.Height)};
  const int tw = s.Width(), th = s.Height();
  if (tw <= 0 || th <= 0) return;
  // The visible part of dest; the tiling stays anchored at dest's corner.
  const int x0 = std::max(dest.Left, 0), x1 = std::min(dest.Right, target.Width);
  const int y0 = std::max(dest.Top, 0), y1 = std::min(dest.Bottom, target.Height);
  if (x0 >= x1 || y0 >= y1) return;
  const int len = x1 - x0;
  const int phaseX = (x0 - dest.Left) % tw;
  // One band of tile rows, then every further row repeats the row th above.
  const int bandEnd = std::min(y1, y0 + th);
  for (int y = y0; y < bandEnd; ++y) {
    const int srcRow = s.Top + (y - dest.Top) % th;
    RepeatRow(&target.At(x0, y), len, picture.Ptr(s.Left, srcRow), tw, phaseX);
  }
  for (int y = bandEnd; y < y1; ++y)
    std::memcpy(&target.At(x0, y), &target.At(x0, y - th), std::size_t(len) * 4);
}

void bsBuildPieceImage(const TbsImageTarget& target, const TbsImageView& picture,
                       const TbsRect& source, const TbsPieceGeometry& g, int width, int height) {
  if (picture.IsEmpty() || !target.Bits || source.IsEmpty()) return;
  const TbsRect& s = source;
  const int sw = s.Width(), sh = s.Height();
  auto piece = [&](int l, int t, int r, int b) { return Relative(s, l, t, r, b); };
  switch (g.Mode) {
  case pmFixed:
    bsCopyRect(target, 0, 0, picture, s);
    break;
  case pmHorizontal: {
    const int w = std::max(0, width);
    const int left = g.LeftTop.X, right = sw - g.RightTop.X;
    bsCopyRect(target, 0, 0, picture, piece(0, 0, left, sh));
    bsCopyRect(target, w - right, 0, picture, piece(g.RightTop.X, 0, sw, sh));
    // A middle of no width repeats the one column where it would start.
    const int midEnd = std::max(g.RightTop.X, left + 1);
    bsTileRect(target, {left, 0, w - right, sh}, picture, piece(left, 0, midEnd, sh));
    break;
  }
  case pmVertical: {
    const int h = std::max(0, height);
    const int top = g.LeftTop.Y, bottom = sh - g.LeftBottom.Y;
    bsCopyRect(target, 0, 0, picture, piece(0, 0, sw, top));
    bsCopyRect(target, 0, h - bottom, picture, piece(0, g.LeftBottom.Y, sw, sh));
    // A middle of no height draws nothing between the ends.
    bsTileRect(target, {0, top, sw, h - bottom}, picture, piece(0, top, sw, g.LeftBottom.Y));
    break;
  }
  case pmNinePiece: {
    if (g.RightBottom.X == g.LeftTop.X || g.RightBottom.Y == g.LeftTop.Y) return;
    const int dw = width - sw, dh = height - sh;
    const TbsPoint lt = g.LeftTop, rt = g.RightTop, lb = g.LeftBottom, rb = g.RightBottom;
    const TbsRect c = g.ClientRect;
    // The four L-shaped corners, unchanged.
    bsCopyRect(target, 0, 0, picture, piece(0, 0, lt.X, c.Top));
    bsCopyRect(target, 0, c.Top, picture, piece(0, c.Top, c.Left, lt.Y));
    bsCopyRect(target, rt.X + dw, 0, picture, piece(rt.X, 0, sw, c.Top));
    bsCopyRect(target, c.Right + dw, c.Top, picture, piece(c.Right, c.Top, sw, rt.Y));
    bsCopyRect(target, 0, c.Bottom + dh, picture, piece(0, c.Bottom, lb.X, sh));
    bsCopyRect(target, 0, lb.Y + dh, picture, piece(0, lb.Y, c.Left, c.Bottom));
    bsCopyRect(target, rb.X + dw, c.Bottom + dh, picture, piece(rb.X, c.Bottom, sw, sh));
    bsCopyRect(target, c.Right + dw, rb.Y + dh, picture, piece(c.Right, rb.Y, sw, c.Bottom));
    // The four edges and the client area, repeated.
    bsTileRect(target, {lt.X, 0, rt.X + dw, c.Top}, picture, piece(lt.X, 0, rt.X, c.Top));
    bsTileRect(target, {lb.X, c.Bottom + dh, rb.X + dw, height}, picture,
               piece(lb.X, c.Bottom, rb.X, sh));
    bsTileRect(target, {0, lt.Y, c.Left, lb.Y + dh}, picture, piece(0, lt.Y, c.Left, lb.Y));
    bsTileRect(target, {c.Right + dw, rt.Y, width, rb.Y + dh}, picture,
               piece(c.Right, rt.Y, sw, rb.Y));
    bsTileRect(target, {c.Left, c.Top, c.Right + dw, c.Bottom + dh}, picture, c.IsEmpty() ? TbsRect{} : piece(c.Left, c.Top, c.Right, c.Bottom));
    break;
  }
  default: break;
  }
}

std::vector<TbsRect> bsMaskRuns(const TbsImageView& mask) {
  std::vector<TbsRect> runs;
  if (mask.IsEmpty()) return runs;
  for (int y = 0; y < mask.Height; ++y) {
    int x = 0;
    while (x < mask.Width) {
      while (x < mask.Width && (mask.At(x, y) & 0xFFFFFFu) != 0) ++x;
      const int start = x;
      while (x < mask.Width && (mask.At(x, y) & 0xFFFFFFu) == 0) ++x;
      if (x > start) runs.push_back({start, y, x, y + 1});
    }
  }
  return runs;
}
