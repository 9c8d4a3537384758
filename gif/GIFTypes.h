#pragma once
// Plain value types shared by the GIF decoder, the compositor and the animator.
#include <array>
#include <cstdint>

namespace rasp {

// Colours travel as 0x00BBGGRR, as everywhere else in the program.
using TColor = std::uint32_t;
inline constexpr TColor kNoColor = 0x1FFFFFFF;

inline constexpr TColor MakeColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
inline constexpr std::uint8_t ColorR(TColor c) { return std::uint8_t(c & 0xFF); }
inline constexpr std::uint8_t ColorG(TColor c) { return std::uint8_t((c >> 8) & 0xFF); }
inline constexpr std::uint8_t ColorB(TColor c) { return std::uint8_t((c >> 16) & 0xFF); }

struct TRGB {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const TRGB&, const TRGB&) = default;
};

// A GIF colour table: `Count` entries in use out of 256.
struct TColorTable {
  int Count = 0;
  std::array<TRGB, 256> Entries{};

  TColor ColorAt(int index) const {
    const TRGB& e = Entries[std::size_t(index)];
    return MakeColor(e.r, e.g, e.b);
  }
};

struct TGIFPoint {
  int X = 0, Y = 0;
  friend bool operator==(const TGIFPoint&, const TGIFPoint&) = default;
};

struct TGIFSize {
  int Width = 0, Height = 0;
  friend bool operator==(const TGIFSize&, const TGIFSize&) = default;
};

}  // namespace rasp
