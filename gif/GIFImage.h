#pragma once
// A whole GIF file held as a list of frames, decoded frame by frame on demand.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "gif/GIFError.h"
#include "gif/GIFFrame.h"
#include "gif/GIFTypes.h"

namespace rasp {

// Screen-level data; shared between copies of an image.
struct TGIFData {
  std::vector<std::string> CommentLines;
  std::uint8_t PixelAspect = 0;
  int GlobalDepth = 1;
  int ColorResolution = 1;
  TColorTable GlobalTable;
};

class TGIFImage {
 public:
  // Limits against hostile files: decoded pixels (as declared by the frames and
  // the logical screen) and frames per image.
  static constexpr std::uint64_t kMaxPixels = 64ull * 1024 * 1024;
  static constexpr std::size_t kMaxFrames = 10000;
  static constexpr int kMaxLoopCount = 30000;

  TGIFImage() = default;
  // Copies share the header and the frames' data; the events stay behind.
  TGIFImage(const TGIFImage& other);
  TGIFImage& operator=(const TGIFImage& other);
  ~TGIFImage() = default;

  // Replaces the content with `other`'s and fires OnChange.
  void Assign(const TGIFImage& other);

  // Loading parses the whole file and decodes frame 0 at once. On failure the
  // image keeps the frames read before the fault and EInvalidGraphicOperation
  // is raised; OnChange fires either way, since the content was replaced.
  void LoadFromBytes(std::span<const std::uint8_t> bytes);
  void LoadFromFile(const std::filesystem::path& path);
  void Clear();

  std::shared_ptr<const TGIFData> HeaderData = std::make_shared<TGIFData>();
  int SignatureVersion = 0;
  std::vector<TGIFFrame> FrameList;
  int ActiveFrame = -1;
  int LogicalWidth = 0, LogicalHeight = 0;
  TColor BackdropColor = kNoColor;
  bool HasLoopBlock = false;
  int LoopCount = 1;
  bool DataDamaged = false;
  // The graphic's transparency switch; on from creation.
  bool Transparent = true;
  // Damaged frame data are decoded as far as they go and flagged, not refused.
  bool TolerateDamage = true;

  std::function<void()> OnChange;
  TProgressEvent OnProgress;

  int Count() const { return int(FrameList.size()); }
  TGIFFrame& Frame(int index) { return FrameList.at(std::size_t(index)); }
  const TGIFFrame& Frame(int index) const { return FrameList.at(std::size_t(index)); }
  // The bitmap of frame `index`, decoding it if needed; the frame and the
  // image are flagged when the data were damaged.
  const TGIFBitmap& FrameBitmap(int index);

  // Size of the current frame's bitmap; 0 when empty.
  int Width() const;
  int Height() const;
  // Refused: a GIF keeps the size its frames have.
  [[noreturn]] void SetWidth(int);
  [[noreturn]] void SetHeight(int);
  bool Empty() const;
  // The switch is on and some frame has a key colour.
  bool IsTransparent() const;
  TColor BackgroundColor() const { return BackdropColor; }

 private:
  friend class TGIFParser;
  void Reset();
  void NotifyChange();
};

}  // namespace rasp
