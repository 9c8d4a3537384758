// Feeds arbitrary bytes to the GIF loader, decodes every frame and composes
// every picture, as the banner would show them.
#include <cstddef>
#include <cstdint>

#include "gif/GIFCompositor.h"
#include "gif/GIFImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  rasp::TGIFImage img;
  try {
    img.LoadFromBytes({data, size});
  } catch (const rasp::EInvalidGraphicOperation&) {
  }
  rasp::TGIFCompositor compositor;
  for (int i = 0; i < img.Count(); ++i) {
    try {
      rasp::TColor key;
      compositor.ComposeFrame(img, i, 0xFFFFFF, key);
    } catch (const rasp::EInvalidGraphicOperation&) {
      compositor.Forget();
    }
  }
  return 0;
}
