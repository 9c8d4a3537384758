#include "skin/bsSkinPackage.h"

#include "skin/bsDib.h"
#include "skin/bsSkinError.h"
#include "skin/bsSkinLimits.h"

namespace {

class TReader {
public:
  explicit TReader(std::span<const std::uint8_t> bytes) : FBytes(bytes) {}

  std::int32_t Int32(const char* what) {
    if (FBytes.size() - FPos < 4)
      throw ESkinError(std::string("the skin package is truncated (") + what + ")");
    const std::uint8_t* p = FBytes.data() + FPos;
    FPos += 4;
    return std::int32_t(std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) |
                        (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24));
  }

  std::uint8_t Byte(const char* what) {
    if (FPos >= FBytes.size())
      throw ESkinError(std::string("the skin package is truncated (") + what + ")");
    return FBytes[FPos++];
  }

  QImage Bitmap() {
    std::size_t used = 0;
    QImage image = bsReadDib(FBytes.subspan(FPos), used, &FPixelBudget);
    FPos += used;
    return image;
  }

  // A slot: flag 0 and a bitmap, or any other flag and nothing.
  QImage Slot(const char* what) {
    return Byte(what) == 0 ? Bitmap() : QImage();
  }

  std::size_t Remaining() const { return FBytes.size() - FPos; }
  std::span<const std::uint8_t> Rest() const { return FBytes.subspan(FPos); }

private:
  std::span<const std::uint8_t> FBytes;
  std::size_t FPos = 0;
  std::int64_t FPixelBudget = kMaxSkinTotalPixels;
};

void PutInt32(std::vector<std::uint8_t>& out, std::int32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(std::uint32_t(v) >> (8 * i)));
}

void PutSlot(std::vector<std::uint8_t>& out, const QImage& image) {
  if (image.isNull()) {
    out.push_back(1);
    return;
  }
  out.push_back(0);
  bsWriteDib(image, out);
}

}  // namespace

TbsSkinPackage bsReadSkinPackage(std::span<const std::uint8_t> bytes) {
  TReader r(bytes);
  TbsSkinPackage package;
  package.Version = r.Int32("version");
  if (package.Version > kSkinPackageVersion) return package;
  package.FramePicture = r.Slot("frame picture");
  package.InactiveFramePicture = r.Slot("inactive frame picture");
  package.FrameMask = r.Slot("frame mask");
  if (package.Version == 2) {
    // Version 2 carried two more frame slots that no longer mean anything.
    r.Slot("old frame slot");
    r.Slot("old frame slot");
  }
  const std::int32_t count = r.Int32("picture count");
  if (count < 0 || count > kMaxSkinPictures) {
    throw ESkinError("the skin package claims " + std::to_string(count) +
                     " pictures; at most " + std::to_string(kMaxSkinPictures) + " are allowed");
  }
  // Every picture needs at least its two headers; a count that cannot fit is
  // refused before the list grows.
  if (std::size_t(count) * 54 > r.Remaining())
    throw ESkinError("the skin package is truncated (pictures)");
  package.Pictures.reserve(std::size_t(count));
  for (std::int32_t i = 0; i < count; ++i) package.Pictures.push_back(r.Bitmap());
  auto rest = r.Rest();
  package.Description.assign(reinterpret_cast<const char*>(rest.data()), rest.size());
  return package;
}

std::vector<std::uint8_t> bsWriteSkinPackage(const TbsSkinPackage& package) {
  std::vector<std::uint8_t> out;
  PutInt32(out, kSkinPackageVersion);
  PutSlot(out, package.FramePicture);
  PutSlot(out, package.InactiveFramePicture);
  PutSlot(out, package.FrameMask);
  PutInt32(out, std::int32_t(package.Pictures.size()));
  for (const QImage& image : package.Pictures) bsWriteDib(image, out);
  out.insert(out.end(), package.Description.begin(), package.Description.end());
  return out;
}
