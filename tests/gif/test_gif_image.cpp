// Loading GIF files: block structure, timing, transparency, loop blocks,
// comments, failures and the limits that keep hostile files harmless.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "gif/GIFImage.h"
#include "tests/gif/GifBuilder.h"

namespace rasp {
namespace {

using test::Bytes;
using test::Palette;
using test::TGifBuilder;

Bytes Solid(int w, int h, std::uint8_t v) { return Bytes(std::size_t(w) * std::size_t(h), v); }

std::string LoadError(const Bytes& file) {
  TGIFImage img;
  try {
    img.LoadFromBytes(file);
  } catch (const EInvalidGraphicOperation& e) {
    return e.what();
  }
  return "";
}

TEST(GifImage, SignatureAndVersionIgnoreLetterCase) {
  TGIFImage img;
  img.LoadFromBytes(TGifBuilder(2, 2, Palette(2), 0, "gif89A").Frame(0, 0, 2, 2, Solid(2, 2, 1)).Build());
  EXPECT_EQ(img.SignatureVersion, 2);
  EXPECT_EQ(img.Count(), 1);
  img.LoadFromBytes(TGifBuilder(2, 2, Palette(2), 0, "GiF87a").Frame(0, 0, 2, 2, Solid(2, 2, 1)).Build());
  EXPECT_EQ(img.SignatureVersion, 1);

  EXPECT_EQ(LoadError(TGifBuilder(2, 2, Palette(2), 0, "GIF90a").Build()), gifmsg::UnknownVersion);
  EXPECT_EQ(LoadError(TGifBuilder(2, 2, Palette(2), 0, "PNG89a").Build()), gifmsg::UnknownVersion);
  EXPECT_EQ(LoadError(Bytes{'G', 'I', 'F'}), gifmsg::UnknownVersion);
  EXPECT_EQ(LoadError(Bytes{'G', 'I', 'F', '8', '9', 'a', 10, 0}), gifmsg::StreamRead);
}

TEST(GifImage, ScreenDescriptorAndBackdrop) {
  TGIFImage img;
  auto pal = Palette(4);
  img.LoadFromBytes(TGifBuilder(468, 60, pal, 2).Frame(0, 0, 1, 1, {3}).Build());
  EXPECT_EQ(img.LogicalWidth, 468);
  EXPECT_EQ(img.LogicalHeight, 60);
  EXPECT_EQ(img.HeaderData->GlobalDepth, 2);
  EXPECT_EQ(img.HeaderData->ColorResolution, 8);
  EXPECT_EQ(img.BackdropColor, MakeColor(pal[2].r, pal[2].g, pal[2].b));
  EXPECT_EQ(img.ActiveFrame, 0);
  EXPECT_TRUE(img.Frame(0).HasBitmap());  // frame 0 is decoded by the load
  EXPECT_EQ(img.Width(), 1);
  // A background index beyond the table gives no backdrop colour.
  img.LoadFromBytes(TGifBuilder(4, 4, Palette(2), 9).Frame(0, 0, 1, 1, {1}).Build());
  EXPECT_EQ(img.BackdropColor, kNoColor);
}

TEST(GifImage, DelaysBecomeMillisecondsAndTheLargestWins) {
  TGIFImage img;
  img.LoadFromBytes(TGifBuilder(2, 2, Palette(2))
                        .Gce(0, 7).Frame(0, 0, 2, 2, Solid(2, 2, 1))
                        .Gce(1, 5).Gce(2, 12).Frame(0, 0, 2, 2, Solid(2, 2, 0))
                        .Gce(0, 7000).Frame(0, 0, 2, 2, Solid(2, 2, 0))
                        .Gce(0, 65535).Frame(0, 0, 2, 2, Solid(2, 2, 0))
                        .Frame(0, 0, 2, 2, Solid(2, 2, 0))
                        .Build());
  ASSERT_EQ(img.Count(), 5);
  EXPECT_EQ(img.Frame(0).DelayMs, 70u);
  EXPECT_EQ(img.Frame(1).DelayMs, 120u);
  EXPECT_EQ(img.Frame(1).Disposal, 2);  // the last graphic control decides
  // Above 6,553 hundredths a 16-bit millisecond count would wrap.
  EXPECT_EQ(img.Frame(2).DelayMs, 70000u);
  EXPECT_EQ(img.Frame(3).DelayMs, 655350u);
  EXPECT_EQ(img.Frame(4).DelayMs, 0u);
  EXPECT_EQ(img.Frame(1).BlockList.size(), 2u);
}

TEST(GifImage, TransparentIndexMustLieInTheTable) {
  TGIFImage img;
  auto pal = Palette(16);
  img.LoadFromBytes(TGifBuilder(2, 2, pal)
                        .Gce(0, 0, 200).Frame(0, 0, 2, 2, Solid(2, 2, 1))
                        .Gce(0, 0, 3).Frame(0, 0, 2, 2, Solid(2, 2, 1))
                        // A later graphic control without the flag clears the key.
                        .Gce(0, 0, 3).Gce(0, 0).Frame(0, 0, 2, 2, Solid(2, 2, 1))
                        // An index beyond the table leaves the earlier key.
                        .Gce(0, 0, 3).Gce(0, 0, 99).Frame(0, 0, 2, 2, Solid(2, 2, 1))
                        .Build());
  EXPECT_EQ(img.Frame(0).KeyColor, kNoColor);
  EXPECT_EQ(img.Frame(0).TransparentIndex, -1);
  EXPECT_EQ(img.Frame(1).KeyColor, MakeColor(pal[3].r, pal[3].g, pal[3].b));
  EXPECT_EQ(img.Frame(1).TransparentIndex, 3);
  EXPECT_EQ(img.Frame(2).KeyColor, kNoColor);
  EXPECT_EQ(img.Frame(3).TransparentIndex, 3);
  EXPECT_TRUE(img.IsTransparent());
  img.Transparent = false;
  EXPECT_FALSE(img.IsTransparent());
}

TEST(GifImage, LoopBlock) {
  TGIFImage img;
  img.LoadFromBytes(TGifBuilder(2, 2, Palette(2)).Frame(0, 0, 2, 2, Solid(2, 2, 1)).Build());
  EXPECT_FALSE(img.HasLoopBlock);
  EXPECT_EQ(img.LoopCount, 1);
  img.LoadFromBytes(TGifBuilder(2, 2, Palette(2)).Loop(0xFFFF).Frame(0, 0, 2, 2, Solid(2, 2, 1)).Build());
  EXPECT_TRUE(img.HasLoopBlock);
  EXPECT_EQ(img.LoopCount, 30000);
  img.LoadFromBytes(
      TGifBuilder(2, 2, Palette(2)).Loop(5, "ANIMEXTS1.0").Frame(0, 0, 2, 2, Solid(2, 2, 1)).Build());
  EXPECT_EQ(img.LoopCount, 5);
  img.LoadFromBytes(
      TGifBuilder(2, 2, Palette(2)).Loop(5, "XMPDataXMP ").Frame(0, 0, 2, 2, Solid(2, 2, 1)).Build());
  EXPECT_FALSE(img.HasLoopBlock);
}

TEST(GifImage, LocalTableOfFourColoursMakesAFourBitBitmapPaddedWithGrey) {
  TGIFImage img;
  auto local = Palette(4);
  img.LoadFromBytes(TGifBuilder(3, 1, Palette(256)).Frame(0, 0, 3, 1, {0, 3, 2}, local).Build());
  const TGIFBitmap& b = img.FrameBitmap(0);
  EXPECT_TRUE(img.Frame(0).HasLocalTable);
  EXPECT_EQ(img.Frame(0).Source().Depth, 2);
  EXPECT_EQ(b.BitsPerPixel, 4);
  ASSERT_EQ(b.Palette.size(), 16u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(b.Palette[std::size_t(i)], local[std::size_t(i)]);
  for (int i = 4; i < 16; ++i) EXPECT_EQ(b.Palette[std::size_t(i)], (TRGB{128, 128, 128}));
  EXPECT_EQ(b.Pixels, (Bytes{0, 3, 2}));
  // Depths 1 and 5..8 give 1 and 8 bits.
  img.LoadFromBytes(TGifBuilder(1, 1, Palette(2)).Frame(0, 0, 1, 1, {1}).Build());
  EXPECT_EQ(img.FrameBitmap(0).BitsPerPixel, 1);
  img.LoadFromBytes(TGifBuilder(1, 1, Palette(32)).Frame(0, 0, 1, 1, {31}).Build());
  EXPECT_EQ(img.FrameBitmap(0).BitsPerPixel, 8);
}

TEST(GifImage, ZeroWidthTakesTheLogicalScreen) {
  TGIFImage img;
  Bytes px(7 * 2, 1);
  img.LoadFromBytes(TGifBuilder(7, 2, Palette(2))
                        .RawFrame(0, 0, 0, 0, test::Blocked(2, test::EncodeLiteral(px, 2)))
                        .Build());
  EXPECT_EQ(img.Frame(0).Source().PixelSize, (TGIFSize{7, 2}));
  EXPECT_EQ(img.FrameBitmap(0).Pixels, px);
  EXPECT_FALSE(img.DataDamaged);
}

TEST(GifImage, FramesBeyondTheScreenAreClipped) {
  TGIFImage img;
  Bytes big;
  for (int i = 0; i < 6 * 5; ++i) big.push_back(std::uint8_t(i % 4));
  img.LoadFromBytes(TGifBuilder(4, 3, Palette(4))
                        .Frame(0, 0, 6, 5, big)      // larger than the screen
                        .Frame(3, 2, 6, 5, big)      // partly outside
                        .Frame(9, 9, 6, 5, big)      // wholly outside
                        .Build());
  const TGIFBitmap& a = img.FrameBitmap(0);
  EXPECT_EQ(a.Width, 4);
  EXPECT_EQ(a.Height, 3);
  EXPECT_EQ(a.Pixels, (Bytes{0, 1, 2, 3, 2, 3, 0, 1, 0, 1, 2, 3}));
  const TGIFBitmap& b = img.FrameBitmap(1);
  EXPECT_EQ(b.Width, 1);
  EXPECT_EQ(b.Height, 1);
  EXPECT_EQ(b.Pixels, (Bytes{0}));
  const TGIFBitmap& c = img.FrameBitmap(2);
  EXPECT_EQ(c.Width, 0);
  EXPECT_TRUE(c.Pixels.empty());
  EXPECT_FALSE(img.DataDamaged);
  // The declared size stays what the file says.
  EXPECT_EQ(img.Frame(1).Source().PixelSize, (TGIFSize{6, 5}));
}

TEST(GifImage, TruncatedInTheLastFrameKeepsTheRowsDecoded) {
  Bytes px;
  for (int i = 0; i < 8 * 8; ++i) px.push_back(std::uint8_t((i * 7 + i / 8) % 15 + 1));
  const Bytes full = TGifBuilder(8, 8, Palette(16)).Frame(0, 0, 8, 8, Solid(8, 8, 2)).Frame(0, 0, 8, 8, px).Build();
  // Cut half way into the second frame's data.
  const Bytes cut(full.begin(), full.end() - 12);
  TGIFImage img;
  img.LoadFromBytes(cut);
  ASSERT_EQ(img.Count(), 2);
  const TGIFBitmap& b = img.FrameBitmap(1);
  EXPECT_TRUE(img.Frame(1).DataDamaged);
  EXPECT_TRUE(img.DataDamaged);
  EXPECT_FALSE(img.Frame(0).DataDamaged);
  int firstZero = 0;
  while (firstZero < 64 && b.Pixels[std::size_t(firstZero)] != 0) ++firstZero;
  EXPECT_GT(firstZero, 8);
  EXPECT_LT(firstZero, 64);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(b.Pixels[std::size_t(i)], i < firstZero ? px[std::size_t(i)] : 0) << i;

  // Refused outright when damage is not tolerated.
  TGIFImage strict;
  strict.TolerateDamage = false;
  EXPECT_THROW(strict.LoadFromBytes(cut), EInvalidGraphicOperation);
}

TEST(GifImage, CommentsAfterTheLastFrameBelongToTheImage) {
  TGIFImage img;
  img.LoadFromBytes(TGifBuilder(1, 1, Palette(2))
                        .Comment("before").Frame(0, 0, 1, 1, {1})
                        .Comment("one").Comment("two")
                        .Build());
  ASSERT_EQ(img.HeaderData->CommentLines.size(), 3u);
  EXPECT_EQ(img.HeaderData->CommentLines[0], "one");
  EXPECT_EQ(img.HeaderData->CommentLines[2], "two");
  EXPECT_EQ(img.Frame(0).BlockList.size(), 1u);
  EXPECT_EQ(img.Frame(0).BlockList[0].CommentText(), "before");
}

TEST(GifImage, PlainTextExtensionDropsWhatWasCollected) {
  Bytes plain{0x21, 0x01, 12};
  plain.insert(plain.end(), 12, 0);
  plain.insert(plain.end(), {2, 'h', 'i', 0});
  TGIFImage img;
  img.LoadFromBytes(TGifBuilder(1, 1, Palette(2)).Gce(0, 9, 1).Raw(plain).Frame(0, 0, 1, 1, {1}).Build());
  EXPECT_TRUE(img.Frame(0).BlockList.empty());
  EXPECT_EQ(img.Frame(0).DelayMs, 0u);
  EXPECT_EQ(img.Frame(0).KeyColor, kNoColor);
}

TEST(GifImage, StructuralFailures) {
  // A stray byte where a block should start, before any frame.
  EXPECT_EQ(LoadError(TGifBuilder(1, 1, Palette(2)).Raw({0x55}).Frame(0, 0, 1, 1, {1}).Build()),
            gifmsg::StreamRead);
  // No colour table at all: the first frame cannot be shown.
  EXPECT_EQ(LoadError(TGifBuilder(1, 1).Frame(0, 0, 1, 1, {1}).Build()), gifmsg::ColorCount);

  // After a frame, stray bytes end the file quietly.
  TGIFImage img;
  img.LoadFromBytes(TGifBuilder(1, 1, Palette(2)).Frame(0, 0, 1, 1, {1}).Raw({0, 0, 0x55, 0x2C}).Build());
  EXPECT_EQ(img.Count(), 1);

  // The frames read before a fault stay.
  EXPECT_THROW(img.LoadFromBytes(TGifBuilder(1, 1, Palette(2))
                                     .Frame(0, 0, 1, 1, {1}).Frame(0, 0, 1, 1, {0})
                                     .Gce(0, 0).Raw({0x55}).Build()),
               EInvalidGraphicOperation);
  EXPECT_EQ(img.Count(), 2);

  EXPECT_THROW(img.SetWidth(3), EInvalidGraphicOperation);
  try {
    img.SetHeight(3);
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_STREQ(e.what(), gifmsg::CannotResize);
  }
}

TEST(GifImage, HostileSizesAreRefusedWithAClearError) {
  // A logical screen of 65535 x 65535 would need 16 GiB to compose.
  EXPECT_EQ(LoadError(TGifBuilder(65535, 65535, Palette(2)).Frame(0, 0, 1, 1, {1}).Build()), gifmsg::TooLarge);
  // Frames that together declare more than 64 Mi pixels.
  TGifBuilder many(100, 100, Palette(2));
  for (int i = 0; i < 4; ++i) many.RawFrame(0, 0, 4000, 4000, test::Blocked(2, {}));
  EXPECT_EQ(LoadError(many.Build()), "");
  many.RawFrame(0, 0, 4000, 4000, test::Blocked(2, {}));
  EXPECT_EQ(LoadError(many.Build()), gifmsg::TooLarge);
  // Too many frames.
  TGifBuilder lots(1, 1, Palette(2));
  const Bytes tiny = test::Blocked(2, test::EncodeLiteral({1}, 2));
  for (std::size_t i = 0; i <= TGIFImage::kMaxFrames; ++i) lots.RawFrame(0, 0, 1, 1, tiny);
  EXPECT_EQ(LoadError(lots.Build()), gifmsg::TooManyFrames);
}

TEST(GifImage, CopiesShareFrameDataAndAssignNotifies) {
  TGIFImage a;
  a.LoadFromBytes(TGifBuilder(2, 1, Palette(2)).Frame(0, 0, 2, 1, {1, 0}).Frame(0, 0, 2, 1, {0, 1}).Build());
  int changes = 0;
  TGIFImage b;
  b.OnChange = [&] { ++changes; };
  b.Assign(a);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(b.Count(), 2);
  EXPECT_EQ(b.Frame(1).SourceData, a.Frame(1).SourceData);
  EXPECT_EQ(b.FrameBitmap(1).Pixels, (Bytes{0, 1}));
  // A failed load still tells the owner that the content changed.
  EXPECT_THROW(b.LoadFromBytes(Bytes{'x'}), EInvalidGraphicOperation);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(b.Count(), 0);
  EXPECT_EQ(a.Count(), 2);
}

TEST(GifImage, ProgressIsReportedWhileAFrameIsDecoded) {
  TGIFImage img;
  std::vector<std::pair<TProgressStage, int>> seen;
  img.OnProgress = [&](TProgressStage s, int p, const std::string&) { seen.push_back({s, p}); };
  img.LoadFromBytes(TGifBuilder(16, 16, Palette(4)).Frame(0, 0, 16, 16, Solid(16, 16, 3)).Build());
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen.front().first, TProgressStage::Starting);
  EXPECT_EQ(seen.back().first, TProgressStage::Finished);
  EXPECT_EQ(seen[seen.size() - 2], std::make_pair(TProgressStage::Running, 100));
}

TEST(GifImage, LoadFromFile) {
  const Bytes file = TGifBuilder(3, 2, Palette(2)).Frame(0, 0, 3, 2, Solid(3, 2, 1)).Build();
  const auto path =
      std::filesystem::temp_directory_path() / ("rasp_gif_load_test_" + std::to_string(::getpid()) + ".gif");
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
  }
  TGIFImage img;
  img.LoadFromFile(path);
  EXPECT_EQ(img.Count(), 1);
  std::filesystem::remove(path);
  try {
    img.LoadFromFile(path);
    ADD_FAILURE() << "missing file loaded";
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_NE(std::string(e.what()).find(path.filename().string()), std::string::npos);
  }
}

}  // namespace
}  // namespace rasp
