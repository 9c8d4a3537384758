#pragma once
// One frame of a GIF file: its compressed source, the extensions that precede
// it, its timing and transparency, and the bitmap it decodes to on first use.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gif/GIFExtension.h"
#include "gif/GIFTypes.h"

namespace rasp {

// What the file says about a frame; shared between copies of a frame.
struct TGIFItem {
  TBytes CompressedData;  // code-size byte, then the sub-blocks with their length bytes
  TGIFSize PixelSize;     // as declared (0 replaced by the logical screen size)
  std::uint8_t DescriptorFlags = 0;
  int Depth = 0;          // bits per colour-table index, 1..8; 0 while unknown
  TColorTable LocalTable; // the frame's own table, or a copy of the global one
};

// A decoded frame: one palette index per byte, rows top-down. The bitmap covers
// the frame clipped to the logical screen, so it may be smaller than PixelSize.
struct TGIFBitmap {
  int Width = 0, Height = 0;
  int BitsPerPixel = 0;            // 1, 4 or 8
  std::vector<TRGB> Palette;       // 2^BitsPerPixel entries; unused ones grey
  std::vector<std::uint8_t> Pixels;

  std::uint8_t At(int x, int y) const { return Pixels[std::size_t(y) * std::size_t(Width) + std::size_t(x)]; }
};

enum class TProgressStage { Starting, Running, Finished };
using TProgressEvent = std::function<void(TProgressStage, int percent, const std::string& message)>;

class TGIFFrame {
 public:
  std::shared_ptr<const TGIFItem> SourceData = std::make_shared<TGIFItem>();
  std::vector<TExtension> BlockList;
  TGIFPoint Origin;
  bool IsInterlaced = false;
  bool DataDamaged = false;
  TColor KeyColor = kNoColor;
  int TransparentIndex = -1;  // the table index behind KeyColor; -1 for none
  // Milliseconds; 32 bits because GIF delays reach 655,350 ms.
  std::uint32_t DelayMs = 0;
  int Disposal = 0;
  bool HasLocalTable = false;
  // The logical screen the frame is clipped to when decoded.
  TGIFSize ScreenSize;

  const TGIFItem& Source() const { return *SourceData; }
  bool HasBitmap() const { return DecodedBitmap != nullptr; }

  // Decodes on first use (BuildFrameDIB); later calls return the same bitmap.
  const TGIFBitmap& Bitmap(bool tolerateDamage = true, const TProgressEvent& progress = {});
  // The decoded bitmap shared with copies of this frame; null before decoding.
  std::shared_ptr<const TGIFBitmap> DecodedBitmap;

 private:
  void BuildFrameDIB(bool tolerateDamage, const TProgressEvent& progress);
};

}  // namespace rasp
