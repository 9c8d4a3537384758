#include "gif/GIFFrame.h"

#include <algorithm>

#include "gif/GIFError.h"
#include "gif/GIFLzw.h"

namespace rasp {

const TGIFBitmap& TGIFFrame::Bitmap(bool tolerateDamage, const TProgressEvent& progress) {
  if (!DecodedBitmap) BuildFrameDIB(tolerateDamage, progress);
  return *DecodedBitmap;
}

void TGIFFrame::BuildFrameDIB(bool tolerateDamage, const TProgressEvent& progress) {
  const TGIFItem& src = Source();
  if (progress) progress(TProgressStage::Starting, 0, {});
  try {
    int bpp;
    if (src.Depth == 1)
      bpp = 1;
    else if (src.Depth >= 2 && src.Depth <= 4)
      bpp = 4;
    else if (src.Depth >= 5 && src.Depth <= 8)
      bpp = 8;
    else
      RaiseGIFError(gifmsg::ColorCount);
    // A transparent index one past a full table of 2 or 16 colours needs the
    // next bitmap depth to be stored at all.
    while (TransparentIndex >= (1 << bpp) && bpp < 8) bpp = bpp == 1 ? 4 : 8;

    auto bmp = std::make_shared<TGIFBitmap>();
    bmp->BitsPerPixel = bpp;
    bmp->Palette.assign(std::size_t(1) << bpp, TRGB{128, 128, 128});
    const int copied = std::min(src.LocalTable.Count, int(bmp->Palette.size()));
    std::copy_n(src.LocalTable.Entries.begin(), copied, bmp->Palette.begin());

    // Only the part on the logical screen is kept; a screen of size 0 clips nothing.
    auto clip = [](int screen, int origin, int size) {
      return screen > 0 ? std::clamp(screen - origin, 0, size) : size;
    };
    bmp->Width = clip(ScreenSize.Width, Origin.X, src.PixelSize.Width);
    bmp->Height = clip(ScreenSize.Height, Origin.Y, src.PixelSize.Height);
    bmp->Pixels.assign(std::size_t(bmp->Width) * std::size_t(bmp->Height), 0);

    TLzwTarget target;
    target.Width = src.PixelSize.Width;
    target.Height = src.PixelSize.Height;
    target.ClipWidth = bmp->Width;
    target.ClipHeight = bmp->Height;
    target.Interlaced = IsInterlaced;
    target.ColorCount = src.LocalTable.Count;
    target.PaletteSize = int(bmp->Palette.size());
    target.TransparentIndex = TransparentIndex;
    target.Pixels = bmp->Pixels.data();
    std::function<void(int)> running;
    if (progress) running = [&progress](int percent) { progress(TProgressStage::Running, percent, {}); };
    const TLzwResult r = ExpandCodes(src.CompressedData, target, tolerateDamage, running);
    DataDamaged |= r.Damaged;
    DecodedBitmap = std::move(bmp);
  } catch (const EInvalidGraphicOperation& e) {
    if (progress) progress(TProgressStage::Finished, 100, e.what());
    throw;
  }
  if (progress) progress(TProgressStage::Finished, 100, {});
}

}  // namespace rasp
