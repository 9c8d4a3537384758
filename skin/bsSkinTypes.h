#pragma once
// Value types of a skin description: rectangles and points in bitmap pixels
// (right and bottom exclusive), colours as 0x00BBGGRR, and the keyword enums.

#include <cstdint>

struct TbsRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  // A skin that does not provide an image leaves its rectangle empty.
  bool IsEmpty() const { return Width() <= 0 || Height() <= 0; }
  bool operator==(const TbsRect&) const = default;
};

struct TbsPoint {
  int X = 0;
  int Y = 0;

  // Several consumers treat a point with a zero coordinate as not given.
  bool IsUnset() const { return X == 0 || Y == 0; }
  bool operator==(const TbsPoint&) const = default;
};

// 32-bit colour value, red in the low byte, then green, then blue.
using TbsColor = std::uint32_t;

inline TbsColor bsRGB(int r, int g, int b) {
  return TbsColor(r & 0xFF) | (TbsColor(g & 0xFF) << 8) | (TbsColor(b & 0xFF) << 16);
}

// Font style flags; a description writes them as "fsbold,fsitalic,...".
enum TbsFontStyle : unsigned {
  fsBold = 1,
  fsItalic = 2,
  fsUnderline = 4,
  fsStrikeOut = 8,
};
using TbsFontStyles = unsigned;

enum class TbsAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

enum class TbsMorphKind {
  mkDefault = 0,
  mkGradient = 1,
  mkLeftGradient = 2,
  mkRightGradient = 3,
  mkLeftSlide = 4,
  mkRightSlide = 5,
  mkPush = 6,
};

enum class TbsEffect {
  ieBrightness = 0,
  ieDarkness = 1,
  ieGrayScale = 2,
  ieNoise = 3,
  ieSplitBlur = 4,
  ieInvert = 5,
};

enum class TbsCommand {
  cmClose = 0,
  cmMaximize = 1,
  cmMinimize = 2,
  cmSysMenu = 3,
  cmDefault = 4,
  cmRollUp = 5,
  cmMinimizeToTray = 6,
};
