// Cross-check of our decoder against giflib on GIFs written by giflib's own
// encoder and on variants made from them by gifsicle and ImageMagick.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include <fstream>

#include "gif/GIFImage.h"
#include "tests/gif/GifBuilder.h"

namespace fs = std::filesystem;

namespace rasp {
namespace {

struct TGifFileCloser {
  void operator()(GifFileType* g) const {
    int err = 0;
    DGifCloseFile(g, &err);
  }
};

struct TMapDeleter {
  void operator()(ColorMapObject* m) const { GifFreeMapObject(m); }
};
using TMap = std::unique_ptr<ColorMapObject, TMapDeleter>;

TMap MakeMap(int count, int seed) {
  std::vector<GifColorType> c(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    c[std::size_t(i)] = {GifByteType(i * 53 + seed), GifByteType(i * 29 + 3 * seed), GifByteType(255 - i * 7)};
  return TMap(GifMakeMapObject(count, c.data()));
}

struct TFrameSpec {
  int Left, Top, Width, Height;
  int Disposal, Delay, Transparent;
  bool Interlaced = false;
  int LocalColours = 0;
};

// Writes a GIF with giflib's encoder; pixel values follow a pattern per frame.
void WriteWithGiflib(const fs::path& path, int sw, int sh, int colours, const std::vector<TFrameSpec>& frames,
                     bool loop) {
  int err = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &err);
  ASSERT_NE(gif, nullptr) << err;
  EGifSetGifVersion(gif, true);
  TMap global = MakeMap(colours, 1);
  ASSERT_EQ(EGifPutScreenDesc(gif, sw, sh, 8, 0, global.get()), GIF_OK);
  if (loop) {
    const GifByteType id[] = "NETSCAPE2.0";
    const GifByteType count[] = {1, 0, 0};
    EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
    EGifPutExtensionBlock(gif, 11, id);
    EGifPutExtensionBlock(gif, 3, count);
    EGifPutExtensionTrailer(gif);
  }
  int seed = 0;
  for (const TFrameSpec& f : frames) {
    ++seed;
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = f.Disposal;
    gcb.DelayTime = f.Delay;
    gcb.TransparentColor = f.Transparent;
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
    TMap local = f.LocalColours ? MakeMap(f.LocalColours, 77 + seed) : nullptr;
    const int n = f.LocalColours ? f.LocalColours : colours;
    ASSERT_EQ(EGifPutImageDesc(gif, f.Left, f.Top, f.Width, f.Height, f.Interlaced, local.get()), GIF_OK);
    std::vector<int> rows;
    if (f.Interlaced) {
      const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
      for (int p = 0; p < 4; ++p)
        for (int r = start[p]; r < f.Height; r += step[p]) rows.push_back(r);
    } else {
      for (int r = 0; r < f.Height; ++r) rows.push_back(r);
    }
    std::vector<GifPixelType> line(std::size_t(f.Width));
    for (int r : rows) {
      for (int x = 0; x < f.Width; ++x) line[std::size_t(x)] = GifPixelType(((x / 3) * seed + r * 5 + (x * r) % 7) % n);
      ASSERT_EQ(EGifPutLine(gif, line.data(), f.Width), GIF_OK);
    }
    // The encoder keeps a copy of each local map and frees only the last one.
    if (gif->Image.ColorMap) {
      GifFreeMapObject(gif->Image.ColorMap);
      gif->Image.ColorMap = nullptr;
    }
  }
  ASSERT_EQ(EGifCloseFile(gif, &err), GIF_OK) << err;
}

// An application extension whose first block is 9 bytes long, then data
// sub-blocks, before a frame, as some editors write their own data.
void WriteWithNineByteApplicationBlock(const fs::path& path) {
  int err = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &err);
  ASSERT_NE(gif, nullptr) << err;
  EGifSetGifVersion(gif, true);
  TMap global = MakeMap(4, 9);
  ASSERT_EQ(EGifPutScreenDesc(gif, 12, 5, 8, 0, global.get()), GIF_OK);
  const GifByteType id[] = "XMP DataX";
  const GifByteType data[] = {0x2C, 0x21, 0x3B, 0xFF, 1, 2};
  EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
  EGifPutExtensionBlock(gif, 9, id);
  EGifPutExtensionBlock(gif, 6, data);
  EGifPutExtensionBlock(gif, 3, data + 2);
  EGifPutExtensionTrailer(gif);
  ASSERT_EQ(EGifPutImageDesc(gif, 0, 0, 12, 5, false, nullptr), GIF_OK);
  std::vector<GifPixelType> line(12);
  for (int r = 0; r < 5; ++r) {
    for (int x = 0; x < 12; ++x) line[std::size_t(x)] = GifPixelType((x + r) % 4);
    ASSERT_EQ(EGifPutLine(gif, line.data(), 12), GIF_OK);
  }
  ASSERT_EQ(EGifCloseFile(gif, &err), GIF_OK) << err;
}

// Transparent index one past a full table of `colours`, with pixels of that
// index in the data, as real icons have it (giflib's encoder cannot write
// indices beyond its table, so our own writer does).
void WriteTransparentOnePastTheTable(const fs::path& path, int colours, int codeSize) {
  std::vector<std::uint8_t> pixels;
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 9; ++x) pixels.push_back(std::uint8_t((x + y) % 3 == 0 ? colours : (x * y) % colours));
  const auto file = test::TGifBuilder(9, 6, test::Palette(colours))
                        .Gce(1, 20, colours).Frame(0, 0, 9, 6, pixels, {}, false, codeSize)
                        .Build();
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
}

void CrossCheck(const fs::path& path) {
  SCOPED_TRACE(path.filename().string());
  int err = 0;
  std::unique_ptr<GifFileType, TGifFileCloser> ref(DGifOpenFileName(path.c_str(), &err));
  ASSERT_TRUE(ref) << err;
  ASSERT_EQ(DGifSlurp(ref.get()), GIF_OK);

  TGIFImage img;
  img.LoadFromFile(path);
  ASSERT_EQ(img.Count(), ref->ImageCount);
  EXPECT_EQ(img.LogicalWidth, ref->SWidth);
  EXPECT_EQ(img.LogicalHeight, ref->SHeight);
  for (int i = 0; i < ref->ImageCount; ++i) {
    SCOPED_TRACE("frame " + std::to_string(i));
    const SavedImage& s = ref->SavedImages[i];
    const TGIFFrame& f = img.Frame(i);
    EXPECT_EQ(f.Origin, (TGIFPoint{s.ImageDesc.Left, s.ImageDesc.Top}));
    EXPECT_EQ(f.Source().PixelSize, (TGIFSize{s.ImageDesc.Width, s.ImageDesc.Height}));
    EXPECT_EQ(f.IsInterlaced, bool(s.ImageDesc.Interlace));
    EXPECT_EQ(f.HasLocalTable, s.ImageDesc.ColorMap != nullptr);
    const ColorMapObject* map = s.ImageDesc.ColorMap ? s.ImageDesc.ColorMap : ref->SColorMap;
    ASSERT_NE(map, nullptr);
    ASSERT_EQ(f.Source().LocalTable.Count, map->ColorCount);
    for (int c = 0; c < map->ColorCount; ++c) {
      const TRGB& e = f.Source().LocalTable.Entries[std::size_t(c)];
      EXPECT_EQ(e, (TRGB{map->Colors[c].Red, map->Colors[c].Green, map->Colors[c].Blue}));
    }
    GraphicsControlBlock gcb{};
    if (DGifSavedExtensionToGCB(ref.get(), i, &gcb) == GIF_OK) {
      EXPECT_EQ(f.DelayMs, std::uint32_t(gcb.DelayTime) * 10);
      EXPECT_EQ(f.Disposal, gcb.DisposalMode);
      // Like every other decoder we also take the index one past the table.
      const int expectKey = gcb.TransparentColor <= map->ColorCount ? gcb.TransparentColor : -1;
      EXPECT_EQ(f.TransparentIndex, expectKey);
    }
    const TGIFBitmap& b = img.FrameBitmap(i);
    EXPECT_FALSE(f.DataDamaged);
    ASSERT_EQ(b.Width, std::min(s.ImageDesc.Width, ref->SWidth - s.ImageDesc.Left));
    ASSERT_EQ(b.Height, std::min(s.ImageDesc.Height, ref->SHeight - s.ImageDesc.Top));
    int mismatches = 0;
    for (int y = 0; y < b.Height; ++y)
      for (int x = 0; x < b.Width; ++x)
        if (b.At(x, y) != s.RasterBits[std::size_t(y) * std::size_t(s.ImageDesc.Width) + std::size_t(x)]) ++mismatches;
    EXPECT_EQ(mismatches, 0);
  }
  EXPECT_FALSE(img.DataDamaged);
}

class GifGiflib : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() / ("rasp_gif_xcheck_" + std::to_string(::getpid()));
    fs::create_directories(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }
  fs::path Dir;
};

TEST_F(GifGiflib, FilesWrittenByGiflibAndTheirVariants) {
  WriteWithGiflib(Dir / "banner.gif", 48, 20, 16,
                  {{0, 0, 48, 20, 1, 10, -1},
                   {4, 2, 20, 10, 2, 0, 3},
                   {10, 5, 30, 15, 3, 7, -1, false, 4},
                   {0, 0, 48, 20, 0, 25, 0, true},
                   {7, 3, 13, 17, 1, 2000, 15, true, 256},
                   {40, 18, 8, 2, 0, 3, -1}},
                  true);
  WriteWithGiflib(Dir / "one.gif", 33, 7, 2, {{0, 0, 33, 7, 0, 0, -1}}, false);
  WriteWithGiflib(Dir / "depth3.gif", 19, 11, 8, {{0, 0, 19, 11, 0, 5, 2}, {3, 3, 9, 5, 2, 5, -1, true}}, true);
  WriteWithGiflib(Dir / "depth5.gif", 40, 9, 32, {{0, 0, 40, 9, 0, 5, -1}}, false);
  WriteWithGiflib(Dir / "depth7.gif", 64, 3, 128, {{0, 0, 64, 3, 0, 5, -1}, {0, 0, 1, 1, 0, 5, -1}}, false);
  WriteWithGiflib(Dir / "depth8.gif", 70, 70, 256, {{0, 0, 70, 70, 0, 5, -1, true}}, false);
  WriteWithNineByteApplicationBlock(Dir / "app9.gif");
  WriteTransparentOnePastTheTable(Dir / "key2of2.gif", 2, 2);
  WriteTransparentOnePastTheTable(Dir / "key16of16.gif", 16, 8);
  WriteTransparentOnePastTheTable(Dir / "key128of128.gif", 128, 8);

  const char* src = std::getenv("RASP_SOURCE_DIR");
  const fs::path script = fs::path(src ? src : ".") / "tests/gif/make_gif_variants.sh";
  ASSERT_TRUE(fs::exists(script)) << script;
  const std::string cmd = "bash '" + script.string() + "' '" + Dir.string() + "' >'" + (Dir / "log.txt").string() + "' 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << "variant script failed; see its log";
  fs::remove(Dir / "log.txt");

  int files = 0;
  for (const auto& e : fs::directory_iterator(Dir)) {
    CrossCheck(e.path());
    ++files;
  }
  EXPECT_GE(files, 10 + 8 + 9);
}

}  // namespace
}  // namespace rasp
