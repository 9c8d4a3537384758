// What real GIF files carry besides their pictures: extensions of labels we
// do not know, application blocks of unusual sizes, a transparent index one
// past the colour table, and files that hold no picture at all.
#include <gtest/gtest.h>

#include "gif/GIFCompositor.h"
#include "gif/GIFImage.h"
#include "tests/gif/GifBuilder.h"

namespace rasp {
namespace {

using test::Bytes;
using test::Palette;
using test::TGifBuilder;

std::string LoadError(const Bytes& file) {
  TGIFImage img;
  try {
    img.LoadFromBytes(file);
  } catch (const EInvalidGraphicOperation& e) {
    return e.what();
  }
  return "";
}

// Alpha of each composed pixel: '.' left out, '#' shown.
std::vector<std::string> Alpha(TGIFImage& img, int frame) {
  TGIFCompositor c;
  TColor key;
  const TGIFComposite& pic = c.ComposeFrame(img, frame, 0xFFFFFF, key);
  std::vector<std::string> rows;
  for (int y = 0; y < pic.Height; ++y) {
    std::string row;
    for (int x = 0; x < pic.Width; ++x) row += (pic.At(x, y) >> 24) == 0 ? '.' : '#';
    rows.push_back(row);
  }
  return rows;
}

TEST(GifBlocks, UnknownExtensionsAreSkippedByTheirSubBlocks) {
  // 0xCE is what gifsicle writes for a frame's name; its data hold bytes that
  // would start a frame or an extension if they were read as blocks.
  const Bytes name{0x21, 0xCE, 5, ',', '!', ';', 'x', 'y', 2, 0x2C, 0x21, 0};
  TGIFImage img;
  img.LoadFromBytes(TGifBuilder(2, 1, Palette(2))
                        .Raw(name).Gce(0, 4).Frame(0, 0, 2, 1, {1, 0})
                        .Raw({0x21, 0x7B, 0})  // no data at all
                        .Raw(name).Frame(0, 0, 2, 1, {0, 1})
                        .Build());
  ASSERT_EQ(img.Count(), 2);
  EXPECT_EQ(img.Frame(0).DelayMs, 40u);  // what was collected before the name survives it
  EXPECT_EQ(img.FrameBitmap(1).Pixels, (Bytes{0, 1}));
  EXPECT_FALSE(img.DataDamaged);
}

TEST(GifBlocks, ApplicationExtensionIsReadByItsBlockSize) {
  // A first block of 9 bytes, then data sub-blocks: read as 12 fixed bytes it
  // would swallow the start of the sub-blocks and lose the frame behind it.
  const Bytes app9{0x21, 0xFF, 9, 'X', 'M', 'P', ' ', 'D', 'a', 't', 'a', 'X', 4, 0x2C, 1, 2, 3, 1, 0x3B, 0};
  TGIFImage img;
  img.LoadFromBytes(TGifBuilder(3, 1, Palette(4)).Raw(app9).Frame(0, 0, 3, 1, {1, 2, 3}).Build());
  ASSERT_EQ(img.Count(), 1);
  EXPECT_EQ(img.FrameBitmap(0).Pixels, (Bytes{1, 2, 3}));
  EXPECT_FALSE(img.HasLoopBlock);
  EXPECT_FALSE(img.DataDamaged);

  // A loop block still needs its 11-byte identifier.
  const Bytes short9{0x21, 0xFF, 9, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', 3, 1, 5, 0, 0};
  img.LoadFromBytes(TGifBuilder(3, 1, Palette(4)).Raw(short9).Frame(0, 0, 3, 1, {1, 2, 3}).Build());
  EXPECT_FALSE(img.HasLoopBlock);
  img.LoadFromBytes(TGifBuilder(3, 1, Palette(4)).Loop(7).Frame(0, 0, 3, 1, {1, 2, 3}).Build());
  EXPECT_TRUE(img.HasLoopBlock);
  EXPECT_EQ(img.LoopCount, 7);
}

TEST(GifBlocks, AFileWithoutAnyFrameIsAnError) {
  EXPECT_EQ(LoadError(TGifBuilder(10, 10, Palette(2)).Build()), gifmsg::NoFrames);
  EXPECT_EQ(LoadError(TGifBuilder(10, 10, Palette(2)).Loop(0).Comment("only words").Build()), gifmsg::NoFrames);
  // The blank banner of a misread application block.
  const Bytes app9{0x21, 0xFF, 9, 'X', 'M', 'P', ' ', 'D', 'a', 't', 'a', 'X', 0};
  EXPECT_EQ(LoadError(TGifBuilder(4, 4, Palette(2)).Raw(app9).Build()), gifmsg::NoFrames);
  TGIFImage img;
  EXPECT_THROW(img.LoadFromBytes(TGifBuilder(10, 10, Palette(2)).Build()), EInvalidGraphicOperation);
  EXPECT_EQ(img.Count(), 0);
  EXPECT_TRUE(img.Empty());
  EXPECT_EQ(img.ActiveFrame, -1);
}

TEST(GifBlocks, TransparentIndexOnePastTheTableLeavesThosePixelsOut) {
  struct TCase {
    int Colours, CodeSize;
  };
  // 2 of 2, 16 of 16 and 128 of 128, as real icons have them.
  for (const TCase c : {TCase{2, 2}, TCase{16, 8}, TCase{128, 8}}) {
    SCOPED_TRACE(c.Colours);
    const auto k = std::uint8_t(c.Colours);
    TGIFImage img;
    img.LoadFromBytes(TGifBuilder(3, 2, Palette(c.Colours))
                          .Gce(1, 10, c.Colours).Frame(0, 0, 3, 2, {k, 1, k, 0, k, 1}, {}, false, c.CodeSize)
                          .Build());
    const TGIFFrame& f = img.Frame(0);
    EXPECT_EQ(f.TransparentIndex, c.Colours);
    EXPECT_NE(f.KeyColor, kNoColor);
    EXPECT_TRUE(img.IsTransparent());
    const TGIFBitmap& b = img.FrameBitmap(0);
    EXPECT_EQ(b.Pixels, (Bytes{k, 1, k, 0, k, 1}));
    EXPECT_GT(int(b.Palette.size()), c.Colours);
    EXPECT_FALSE(f.DataDamaged);
    EXPECT_FALSE(img.DataDamaged);
    EXPECT_EQ(Alpha(img, 0), (std::vector<std::string>{".#.", "#.#"}));
  }

  // Without the transparency flag that index is still damage ...
  TGIFImage img;
  img.LoadFromBytes(TGifBuilder(2, 1, Palette(2)).Frame(0, 0, 2, 1, {2, 1}).Build());
  EXPECT_TRUE(img.Frame(0).DataDamaged);
  // ... and so is any index beyond the transparent one.
  img.LoadFromBytes(TGifBuilder(2, 1, Palette(2)).Gce(0, 0, 2).Frame(0, 0, 2, 1, {2, 3}).Build());
  EXPECT_EQ(img.Frame(0).TransparentIndex, 2);
  EXPECT_TRUE(img.Frame(0).DataDamaged);
  // Two past the table is no transparency at all.
  img.LoadFromBytes(TGifBuilder(2, 1, Palette(4)).Gce(0, 0, 5).Frame(0, 0, 2, 1, {1, 1}).Build());
  EXPECT_EQ(img.Frame(0).TransparentIndex, -1);
}

}  // namespace
}  // namespace rasp
