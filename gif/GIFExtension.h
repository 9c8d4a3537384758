#pragma once
// An extension block as read from the file, kept with the frame it precedes.
#include <cstdint>
#include <string>
#include <vector>

namespace rasp {

using TBytes = std::vector<std::uint8_t>;

struct TExtension {
  enum TKind : std::uint8_t { GraphicControl = 0, PlainText = 1, Application = 2, Comment = 3 };

  TKind Kind = GraphicControl;
  // The first data sub-block with its size byte. Graphic control: size byte,
  // packed, delay (2), transparent index. Application: size byte and the
  // identifier with its authentication code (11 bytes when well formed).
  TBytes FixedBlock;
  std::vector<TBytes> SubBlocks;

  // Graphic control accessors; valid when FixedBlock holds at least 5 bytes.
  std::uint8_t GCPacked() const { return FixedBlock[1]; }
  unsigned GCDelay() const { return unsigned(FixedBlock[2]) | (unsigned(FixedBlock[3]) << 8); }
  std::uint8_t GCTransparentIndex() const { return FixedBlock[4]; }

  std::string CommentText() const {
    std::string text;
    for (const TBytes& b : SubBlocks) text.append(b.begin(), b.end());
    return text;
  }
};

}  // namespace rasp
