// The package layout, older versions, and every way a package can be broken.

#include "tests/skin/SkinTestSupport.h"

#include "skin/bsDib.h"
#include "skin/bsSkinDescription.h"
#include "skin/bsSkinError.h"
#include "skin/bsSkinPackage.h"
#include "skin/bsZlib.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

namespace {

void PutInt32(std::vector<std::uint8_t>& out, std::int32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(std::uint32_t(v) >> (8 * i)));
}

std::vector<std::uint8_t> Dib(int w, int h, QColor c) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(c);
  std::vector<std::uint8_t> out;
  bsWriteDib(image, out);
  return out;
}

std::string ErrorOf(std::span<const std::uint8_t> bytes) {
  try {
    bsReadSkinPackage(bytes);
  } catch (const ESkinError& e) {
    return e.what();
  }
  return "";
}

TEST(SkinPackage, LayoutOfAWrittenPackage) {
  TbsLoadedSkin skin = MakeSmallSkin(QColor(200, 210, 230), "layout");
  const std::vector<std::uint8_t> bytes = bsWriteSkinPackage(bsMakeSkinPackage(skin));
  ASSERT_GT(bytes.size(), 16u);
  EXPECT_EQ(bytes[0], 3);
  EXPECT_EQ(bytes[1] | bytes[2] | bytes[3], 0);
  EXPECT_EQ(bytes[4], 0);  // frame picture present
  EXPECT_EQ(bytes[5], 'B');
  EXPECT_EQ(bytes[6], 'M');
  const std::uint32_t frameLength = bytes[7] | (bytes[8] << 8) | (bytes[9] << 16) | (bytes[10] << 24);
  EXPECT_EQ(frameLength, 54u + 60 * 3 * 40);  // 24-bit rows of 180 bytes, already aligned
  std::size_t pos = 5 + frameLength;
  EXPECT_EQ(bytes[pos], 1);      // no inactive frame picture
  EXPECT_EQ(bytes[pos + 1], 0);  // the mask follows
  const std::string text(bytes.begin(), bytes.end());
  const std::size_t description = text.find("[VERSION]\r\n");
  ASSERT_NE(description, std::string::npos);
  const std::size_t count = pos + 2 + frameLength;  // the mask has the frame's layout
  EXPECT_EQ(bytes[count], 2);
  EXPECT_EQ(bytes[count + 4], 'B');

  TbsSkinPackage read = bsReadSkinPackage(bytes);
  EXPECT_EQ(read.Version, 3);
  EXPECT_EQ(read.Description.rfind("[VERSION]", 0), 0u);
  EXPECT_EQ(read.Pictures.size(), 2u);
  EXPECT_EQ(read.FramePicture.size(), QSize(60, 40));
  EXPECT_EQ(read.FramePicture.pixelColor(30, 20), QColor(200, 210, 230));
}

TEST(SkinPackage, VersionTwoCarriesTwoSlotsThatAreDiscarded) {
  std::vector<std::uint8_t> bytes;
  PutInt32(bytes, 2);
  bytes.push_back(0);
  auto frame = Dib(8, 6, Qt::red);
  bytes.insert(bytes.end(), frame.begin(), frame.end());
  bytes.push_back(1);
  bytes.push_back(7);  // any non-zero flag means an empty slot
  for (QColor c : {QColor(Qt::green), QColor(Qt::blue)}) {
    bytes.push_back(0);
    auto old = Dib(5, 5, c);
    bytes.insert(bytes.end(), old.begin(), old.end());
  }
  PutInt32(bytes, 1);
  auto picture = Dib(3, 2, Qt::yellow);
  bytes.insert(bytes.end(), picture.begin(), picture.end());
  const std::string text = "[VERSION]\r\nskinname=old\r\n";
  bytes.insert(bytes.end(), text.begin(), text.end());

  TbsSkinPackage package = bsReadSkinPackage(bytes);
  EXPECT_EQ(package.FramePicture.pixelColor(0, 0), QColor(Qt::red));
  EXPECT_TRUE(package.InactiveFramePicture.isNull());
  EXPECT_TRUE(package.FrameMask.isNull());
  ASSERT_EQ(package.Pictures.size(), 1u);
  EXPECT_EQ(package.Pictures[0].pixelColor(2, 1), QColor(Qt::yellow));
  TbsLoadedSkin skin = bsLoadSkinFromPackage(std::move(package));
  EXPECT_EQ(skin.Content.skinname, "old");
}

TEST(SkinPackage, ANewerVersionIsReportedNotRead) {
  std::vector<std::uint8_t> bytes;
  PutInt32(bytes, 4);
  bytes.push_back(0xEE);
  EXPECT_EQ(bsReadSkinPackage(bytes).Version, 4);
}

TEST(SkinPackage, EveryTruncationInsideTheBinaryPartIsAnError) {
  TbsLoadedSkin skin = MakeSmallSkin(QColor(10, 20, 30), "cut");
  const std::vector<std::uint8_t> bytes = bsWriteSkinPackage(bsMakeSkinPackage(skin));
  const std::string text(bytes.begin(), bytes.end());
  const std::size_t description = text.find("[VERSION]");
  for (std::size_t cut = 0; cut < description; cut += (cut < 64 ? 1 : 97)) {
    std::span<const std::uint8_t> prefix(bytes.data(), cut);
    EXPECT_NE(ErrorOf(prefix), "") << "cut at " << cut;
  }
  EXPECT_NE(ErrorOf(std::span(bytes.data(), description - 1)), "");
  EXPECT_EQ(ErrorOf(std::span(bytes.data(), description)), "");  // no text is still a package
}

TEST(SkinPackage, MalformedBitmapsAndCountsAreRefused) {
  auto withPicture = [](const std::vector<std::uint8_t>& dib, std::int32_t count = 1) {
    std::vector<std::uint8_t> b;
    PutInt32(b, 3);
    b.push_back(1);
    b.push_back(1);
    b.push_back(1);
    PutInt32(b, count);
    b.insert(b.end(), dib.begin(), dib.end());
    return b;
  };
  auto patched = [](std::size_t offset, std::uint32_t value, int bytes = 4) {
    auto dib = Dib(4, 4, Qt::gray);
    for (int i = 0; i < bytes; ++i) dib[offset + i] = std::uint8_t(value >> (8 * i));
    return dib;
  };
  EXPECT_NE(ErrorOf(withPicture(patched(0, 'B' | ('X' << 8), 2))).find("not a valid bitmap"),
            std::string::npos);
  EXPECT_NE(ErrorOf(withPicture(patched(28, 7, 2))), "");         // bit depth 7
  EXPECT_NE(ErrorOf(withPicture(patched(18, 0))), "");            // width 0
  EXPECT_NE(ErrorOf(withPicture(patched(18, 20000))), "");        // wider than the limit
  EXPECT_NE(ErrorOf(withPicture(patched(22, 0x80000000u))), "");  // height INT_MIN
  EXPECT_NE(ErrorOf(withPicture(patched(14, 12))), "");           // old core header
  EXPECT_NE(ErrorOf(withPicture(patched(46, 100000))), "");       // colour table too large
  EXPECT_NE(ErrorOf(withPicture(patched(34, 4))), "");            // image size below its rows
  EXPECT_NE(ErrorOf(withPicture(patched(26, 2, 2))), "");         // two planes
  EXPECT_NE(ErrorOf(withPicture(Dib(4, 4, Qt::gray), -1)).find("-1 pictures"), std::string::npos);
  EXPECT_NE(ErrorOf(withPicture(Dib(4, 4, Qt::gray), 5000)).find("at most 4096"), std::string::npos);
  EXPECT_NE(ErrorOf(withPicture(Dib(4, 4, Qt::gray), 4000)).find("truncated"), std::string::npos);

  // A wrong pixel offset in the file header is corrected, not trusted.
  TbsSkinPackage fixed = bsReadSkinPackage(withPicture(patched(10, 9999)));
  EXPECT_EQ(fixed.Pictures.at(0).pixelColor(1, 1), QColor(Qt::gray));
}

TEST(SkinPackage, RunLengthBitmapsCannotAskForHugeImages) {
  // A few bytes of run-length data may claim 16,384 x 16,384 pixels; the pixel
  // budget refuses it before any decoding.
  std::vector<std::uint8_t> dib = Dib(4, 4, Qt::gray);
  dib.resize(54);
  auto put = [&](std::size_t off, std::uint32_t v, int n = 4) {
    for (int i = 0; i < n; ++i) dib[off + i] = std::uint8_t(v >> (8 * i));
  };
  put(18, 16384);
  put(22, 16384);
  put(28, 8, 2);
  put(30, 1);           // run-length coded, 8 bits
  put(34, 2 + 1024);    // image size: colour table aside, a short run stream
  put(46, 0);
  std::vector<std::uint8_t> table(1024, 0), runs = {0, 1};
  dib.insert(dib.end(), table.begin(), table.end());
  dib.insert(dib.end(), runs.begin(), runs.end());
  dib.resize(dib.size() + 1024, 0);
  std::vector<std::uint8_t> b;
  PutInt32(b, 3);
  b.insert(b.end(), {1, 1, 1});
  PutInt32(b, 1);
  b.insert(b.end(), dib.begin(), dib.end());
  EXPECT_NE(ErrorOf(b).find("pixels"), std::string::npos) << ErrorOf(b);
}

TEST(SkinZlib, BadDataTruncationAndBombs) {
  const std::vector<std::uint8_t> garbage = {0x78, 0x9C, 0xFF, 0xFF, 0x00, 0x12};
  std::vector<std::uint8_t> out;
  try {
    bsInflate(garbage, out, 1 << 20);
    ADD_FAILURE();
  } catch (const ESkinError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("compression error", 0), 0u) << e.what();
  }

  std::vector<std::uint8_t> data(100000);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = std::uint8_t(i * 7 % 251);
  std::vector<std::uint8_t> stream = bsDeflate(data);
  out.clear();
  bsInflate(stream, out, 1 << 20);
  EXPECT_EQ(out, data);
  stream.push_back(0x42);  // bytes after the end of the stream are ignored
  out.clear();
  bsInflate(stream, out, 1 << 20);
  EXPECT_EQ(out, data);
  stream.resize(stream.size() / 2);
  out.clear();
  EXPECT_THROW(bsInflate(stream, out, 1 << 20), ESkinError);
  out.clear();
  EXPECT_THROW(bsInflate({}, out, 1 << 20), ESkinError);

  // 200 MiB of zeros in a stream of a few hundred kilobytes stops at the cap.
  z_stream z{};
  ASSERT_EQ(deflateInit(&z, 9), Z_OK);
  std::vector<std::uint8_t> zeros(1 << 20, 0), bomb(1 << 20);
  std::vector<std::uint8_t> compressed;
  for (int mb = 0; mb < 200; ++mb) {
    z.next_in = zeros.data();
    z.avail_in = uInt(zeros.size());
    do {
      z.next_out = bomb.data();
      z.avail_out = uInt(bomb.size());
      deflate(&z, mb == 199 ? Z_FINISH : Z_NO_FLUSH);
      compressed.insert(compressed.end(), bomb.data(), bomb.data() + (bomb.size() - z.avail_out));
    } while (z.avail_out == 0);
  }
  deflateEnd(&z);
  out.clear();
  try {
    bsInflate(compressed, out, 64u << 20);
    ADD_FAILURE();
  } catch (const ESkinError& e) {
    EXPECT_NE(std::string(e.what()).find("64 MiB"), std::string::npos);
  }
  EXPECT_LE(out.size(), 64u << 20);
}

}  // namespace
