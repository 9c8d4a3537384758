#pragma once
// The LZW expander for GIF frame data.
#include <cstdint>
#include <functional>
#include <span>

namespace rasp {

// Where the expanded pixels go. The frame is walked in its declared geometry
// (rows in interlace order when asked); only the part inside ClipWidth x
// ClipHeight is stored, so a frame larger than the screen costs no memory.
struct TLzwTarget {
  int Width = 0, Height = 0;
  int ClipWidth = 0, ClipHeight = 0;
  bool Interlaced = false;
  int ColorCount = 256;       // indices at or above this are damage
  int PaletteSize = 256;      // indices at or above this are stored as 0
  int TransparentIndex = -1;  // the frame's transparent index: never damage
  std::uint8_t* Pixels = nullptr;  // ClipWidth * ClipHeight bytes, rows top-down
};

struct TLzwResult {
  bool Damaged = false;   // anything unexpected; what could be decoded is stored
  bool Complete = false;  // every row of the frame was written
};

// Expands `compressed` (the code-size byte, then the data sub-blocks with their
// length bytes). With tolerateDamage off, a bad code size or an impossible code
// raises EInvalidGraphicOperation; otherwise the result is flagged damaged.
// `progress` (optional) receives the share of the data consumed, 0..100.
TLzwResult ExpandCodes(std::span<const std::uint8_t> compressed, const TLzwTarget& target,
                       bool tolerateDamage, const std::function<void(int)>& progress = {});

}  // namespace rasp
