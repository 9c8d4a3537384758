#pragma once
// How a control's image is cut from its skin rectangle and laid out at any
// size: the piece mode, the size a skin allows, where skin-relative
// rectangles land, and the piece image itself. Plain pixels in, plain pixels
// out; no toolkit here, so it is tested and measured on its own.

#include "skin/bsSkinTypes.h"

#include <cstdint>
#include <vector>

// A read-only view of 32-bit pixels; Stride counts pixels per row.
struct TbsImageView {
  const std::uint32_t* Bits = nullptr;
  int Width = 0;
  int Height = 0;
  int Stride = 0;
  bool IsEmpty() const { return !Bits || Width <= 0 || Height <= 0; }
  std::uint32_t At(int x, int y) const { return *Ptr(x, y); }
  const std::uint32_t* Ptr(int x, int y) const {
    return Bits + std::size_t(y) * std::size_t(Stride) + std::size_t(x);
  }
};

// A writable view of 32-bit pixels.
struct TbsImageTarget {
  std::uint32_t* Bits = nullptr;
  int Width = 0;
  int Height = 0;
  int Stride = 0;
  std::uint32_t& At(int x, int y) const { return Bits[std::size_t(y) * std::size_t(Stride) + std::size_t(x)]; }
};

// An image that owns its pixels, for tests and benchmarks.
struct TbsPixelImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;
  TbsPixelImage() = default;
  TbsPixelImage(int w, int h, std::uint32_t fill = 0)
      : Width(w), Height(h), Pixels(std::size_t(w) * std::size_t(h), fill) {}
  TbsImageView View() const { return {Pixels.data(), Width, Height, Width}; }
  TbsImageTarget Target() { return {Pixels.data(), Width, Height, Width}; }
  std::uint32_t At(int x, int y) const { return Pixels[std::size_t(y) * std::size_t(Width) + std::size_t(x)]; }
};

// -1 nothing from the skin, 0 fixed size, 1 nine pieces, 2 stretches in
// width only, 3 in height only.
enum TbsPieceMode : int { pmNone = -1, pmFixed = 0, pmNinePiece = 1, pmHorizontal = 2, pmVertical = 3 };

// The geometry of a control entry: its rectangle in the picture, the inner
// corners of the four fixed corners and the client rectangle, the last five
// relative to the skin rectangle's top-left corner.
struct TbsPieceGeometry {
  TbsRect SkinRect;
  TbsPoint LeftTop, RightTop, LeftBottom, RightBottom;
  TbsRect ClientRect;
  int Mode = pmFixed;
};

// The points and client rectangle moved to a control's present size.
struct TbsCurrentGeometry {
  TbsPoint LeftTop, RightTop, LeftBottom, RightBottom;
  TbsRect ClientRect;
};

int bsPieceMode(const TbsRect& skinRect, const TbsPoint& rightTop, const TbsPoint& leftBottom,
                const TbsPoint& rightBottom);

// True when the skin rectangle lies inside the picture and every point and
// the client rectangle lie inside the skin rectangle in the order their
// names say. A control whose entry fails this draws its default look.
bool bsPieceGeometryUsable(const TbsPieceGeometry& g, int pictureWidth, int pictureHeight);

// The size the skin allows for a requested one, and the geometry at it.
// A mode of -1 leaves the size as asked.
TbsCurrentGeometry bsFitSizeToSkin(const TbsPieceGeometry& g, int& width, int& height);

// The geometry at exactly the skin rectangle's size.
TbsCurrentGeometry bsInitialGeometry(const TbsPieceGeometry& g);

// Moves a rectangle given in skin-rectangle coordinates to a control of the
// given size.
TbsRect bsMapSkinRect(const TbsPieceGeometry& g, int width, int height, const TbsRect& r);

// The size of the bitmap BuildPieceImage draws for a control of this size.
void bsPieceImageSize(const TbsPieceGeometry& g, int width, int height, int& outWidth,
                      int& outHeight);

// Draws the control's image at width × height from the rectangle source of
// the picture (the skin rectangle or a state rectangle of the same layout)
// into target, which must be bsPieceImageSize large. Pieces are repeated,
// never scaled; the last copy of a row or column is cut. Nothing outside the
// picture or the target is ever read or written.
void bsBuildPieceImage(const TbsImageTarget& target, const TbsImageView& picture,
                       const TbsRect& source, const TbsPieceGeometry& g, int width, int height);

// Copies the part of the picture inside source to (x, y) of the target, clipped to both.
void bsCopyRect(const TbsImageTarget& target, int x, int y, const TbsImageView& picture,
                const TbsRect& source);

// Repeats the source part of the picture over dest in rows and columns from
// dest's top-left corner, the last tiles cut; nothing for an empty piece.
void bsTileRect(const TbsImageTarget& target, const TbsRect& dest, const TbsImageView& picture,
                const TbsRect& source);

// The runs of black pixels (red, green and blue all 0) of a mask, row by
// row, left to right, each a rectangle one pixel high.
std::vector<TbsRect> bsMaskRuns(const TbsImageView& mask);
