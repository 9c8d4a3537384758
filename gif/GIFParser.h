#pragma once
// Reads the block structure of a GIF file into a TGIFImage (frames stay
// compressed until first drawn).
#include <cstdint>
#include <span>

namespace rasp {

class TGIFImage;

// Resets `image` and fills it from `bytes`. Raises EInvalidGraphicOperation on
// a file that is not a GIF or breaks the block structure; the frames read
// before the fault stay in the image. A file that simply ends early keeps the
// frames it holds and is flagged damaged.
void ParseGIFStream(TGIFImage& image, std::span<const std::uint8_t> bytes);

}  // namespace rasp
