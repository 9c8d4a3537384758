// skinpack's two directions: unpacking and packing again gives the same
// package; a hostile picture name never leaves the target folder.

#include "tests/skin/SkinTestSupport.h"

#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsSkinDescription.h"
#include "skin/bsSkinError.h"
#include "skin/bsSkinLimits.h"
#include "skin/bsSkinPackage.h"
#include "skin/bsZlib.h"
#include "tools/skingen/SkinBuilder.h"
#include "tools/skinpack/SkinUnpack.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> Inflated(const std::vector<std::uint8_t>& stream) {
  std::vector<std::uint8_t> out;
  bsInflate(stream, out, kMaxInflatedSkinBytes);
  return out;
}

TEST(SkinPack, UnpackThenPackGivesTheSamePackage) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TbsLoadedSkin skin = BuildSkin(LightPalette());
  const std::vector<std::uint8_t> stream = bsDeflate(bsWriteSkinPackage(bsMakeSkinPackage(skin)));
  const QString folder = dir.filePath("light");
  bsUnpackSkin(stream, folder);
  EXPECT_TRUE(QFile::exists(folder + "/skin.ini"));
  EXPECT_TRUE(QFile::exists(folder + "/frame.bmp"));
  EXPECT_TRUE(QFile::exists(folder + "/captionbuttons.bmp"));

  TbsCompressedStoredSkin stored;
  ASSERT_TRUE(stored.CompressSkinFolder(folder + "/skin.ini"));
  EXPECT_EQ(Inflated(stored.CompressedData), Inflated(stream));
}

TEST(SkinPack, HostilePictureNamesAreRefusedBeforeAnythingIsWritten) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const char* bad : {"../escape.bmp", "/tmp/abs.bmp", "sub/dir.bmp", "", "..", "c:evil.bmp"}) {
    TbsLoadedSkin skin = MakeSmallSkin(QColor(1, 2, 3), "hostile");
    skin.Content.SkinPictureNames[1] = bad;
    const auto stream = CompressSkin(skin);
    const QString folder = dir.filePath("out");
    EXPECT_THROW(bsUnpackSkin(stream, folder), ESkinError) << bad;
    EXPECT_FALSE(QDir(folder).exists()) << bad;
    EXPECT_FALSE(QFile::exists(dir.filePath("escape.bmp")));
  }
  TbsLoadedSkin twice = MakeSmallSkin(QColor(1, 2, 3), "twice");
  twice.Content.SkinPictureNames[1] = "FRAME.BMP";
  EXPECT_THROW(bsUnpackSkin(CompressSkin(twice), dir.filePath("twice")), ESkinError);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
