#include "skin/bsDib.h"

#include "skin/bsSkinError.h"
#include "skin/bsSkinLimits.h"

#include <QByteArray>

#include <cstdlib>
#include <string>

namespace {

std::uint32_t U32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}
std::int32_t I32(const std::uint8_t* p) { return std::int32_t(U32(p)); }
std::uint16_t U16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}

constexpr std::size_t kFileHeader = 14;
constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;

[[noreturn]] void Invalid(const std::string& why) {
  throw ESkinError("a picture of the skin is not a valid bitmap (" + why + ")");
}
[[noreturn]] void Truncated() {
  throw ESkinError("the skin package is truncated inside a bitmap");
}

}  // namespace

QImage bsReadDib(std::span<const std::uint8_t> data, std::size_t& consumed,
                 std::int64_t* pixelBudget) {
  if (data.size() < kFileHeader + 4) Truncated();
  const std::uint8_t* p = data.data();
  if (p[0] != 'B' || p[1] != 'M') Invalid("no \"BM\" signature");
  const std::uint32_t offBits = U32(p + 10);
  const std::uint32_t infoSize = U32(p + kFileHeader);
  // Only the 40-byte information header and its longer successors are bitmaps
  // of this format.
  if (infoSize < 40 || infoSize > 1024) Invalid("unknown information header");
  if (data.size() < kFileHeader + infoSize) Truncated();
  const std::uint8_t* info = p + kFileHeader;
  const std::int32_t width = I32(info + 4);
  const std::int32_t height = I32(info + 8);
  const std::uint16_t planes = U16(info + 12);
  const std::uint16_t bits = U16(info + 14);
  const std::uint32_t compression = U32(info + 16);
  const std::uint32_t sizeImage = U32(info + 20);
  const std::uint32_t clrUsed = U32(info + 32);

  if (planes != 1) Invalid("plane count is not 1");
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    Invalid("unsupported bit depth " + std::to_string(bits));
  if (width <= 0 || height == 0 || height == INT32_MIN)
    Invalid("empty size");
  const std::int64_t absHeight = std::llabs(std::int64_t(height));
  if (width > kMaxSkinPictureSide || absHeight > kMaxSkinPictureSide)
    Invalid("larger than " + std::to_string(kMaxSkinPictureSide) + " pixels");
  const bool rle = compression == kBiRle8 || compression == kBiRle4;
  if (compression > kBiBitfields) Invalid("unknown compression");
  if ((compression == kBiRle8 && bits != 8) || (compression == kBiRle4 && bits != 4) ||
      (compression == kBiBitfields && bits != 16 && bits != 32))
    Invalid("compression does not match the bit depth");
  if (rle && height < 0) Invalid("top-down run-length bitmap");

  std::uint64_t colours = clrUsed;
  if (colours == 0 && bits <= 8) colours = 1u << bits;
  if (colours > 256) Invalid("colour table too large");
  std::uint64_t tableBytes = colours * 4;
  if (compression == kBiBitfields && infoSize == 40) tableBytes += 12;  // the three masks

  const std::uint64_t rowBytes = ((std::uint64_t(width) * bits + 31) / 32) * 4;
  const std::uint64_t rawPixels = rowBytes * std::uint64_t(absHeight);
  std::uint64_t pixelBytes = sizeImage ? sizeImage : rawPixels;
  if (rle && sizeImage == 0) Invalid("run-length bitmap without image size");
  if (!rle && pixelBytes < rawPixels) Invalid("image size smaller than its rows");

  const std::uint64_t headerBytes = kFileHeader + infoSize + tableBytes;
  const std::uint64_t total = headerBytes + pixelBytes;
  if (total > data.size()) Truncated();

  const std::int64_t pixels = std::int64_t(width) * absHeight;
  if (pixelBudget) {
    if (pixels > *pixelBudget) {
      throw ESkinError("the pictures of the skin need more than " +
                       std::to_string(kMaxSkinTotalPixels) + " pixels");
    }
    *pixelBudget -= pixels;
  }

  // The pixel rows follow the colour table directly; a file header that says
  // otherwise is corrected on a copy rather than trusted.
  QByteArray bytes;
  if (offBits == headerBytes) {
    bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(p), qsizetype(total));
  } else {
    bytes = QByteArray(reinterpret_cast<const char*>(p), qsizetype(total));
    auto* w = reinterpret_cast<std::uint8_t*>(bytes.data());
    for (int i = 0; i < 4; ++i) w[10 + i] = std::uint8_t(headerBytes >> (8 * i));
  }
  QImage image = QImage::fromData(bytes, "BMP");
  if (image.isNull()) Invalid("its pixel data cannot be decoded");
  consumed = std::size_t(total);
  if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
  // fromRawData shares the package bytes; the image must own its pixels.
  image.detach();
  return image;
}

void bsWriteDib(const QImage& source, std::vector<std::uint8_t>& out) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  const std::uint32_t width = std::uint32_t(image.width());
  const std::uint32_t height = std::uint32_t(image.height());
  const std::uint32_t rowBytes = ((width * 24 + 31) / 32) * 4;
  const std::uint32_t pixelBytes = rowBytes * height;
  const std::uint32_t headerBytes = kFileHeader + 40;
  out.reserve(out.size() + headerBytes + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, headerBytes + pixelBytes);
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, headerBytes);
  Put32(out, 40);
  Put32(out, width);
  Put32(out, height);
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, kBiRgb);
  Put32(out, pixelBytes);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = int(height) - 1; y >= 0; --y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (std::uint32_t x = 0; x < width; ++x) {
      out.push_back(std::uint8_t(qBlue(line[x])));
      out.push_back(std::uint8_t(qGreen(line[x])));
      out.push_back(std::uint8_t(qRed(line[x])));
    }
    for (std::uint32_t pad = width * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
}
