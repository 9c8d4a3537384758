#include "gif/GIFImage.h"

#include <fstream>
#include <iterator>

#include "gif/GIFParser.h"

namespace rasp {

TGIFImage::TGIFImage(const TGIFImage& other)
    : HeaderData(other.HeaderData),
      SignatureVersion(other.SignatureVersion),
      FrameList(other.FrameList),
      ActiveFrame(other.ActiveFrame),
      LogicalWidth(other.LogicalWidth),
      LogicalHeight(other.LogicalHeight),
      BackdropColor(other.BackdropColor),
      HasLoopBlock(other.HasLoopBlock),
      LoopCount(other.LoopCount),
      DataDamaged(other.DataDamaged),
      Transparent(other.Transparent),
      TolerateDamage(other.TolerateDamage) {}

TGIFImage& TGIFImage::operator=(const TGIFImage& other) {
  if (this != &other) {
    HeaderData = other.HeaderData;
    SignatureVersion = other.SignatureVersion;
    FrameList = other.FrameList;
    ActiveFrame = other.ActiveFrame;
    LogicalWidth = other.LogicalWidth;
    LogicalHeight = other.LogicalHeight;
    BackdropColor = other.BackdropColor;
    HasLoopBlock = other.HasLoopBlock;
    LoopCount = other.LoopCount;
    DataDamaged = other.DataDamaged;
    Transparent = other.Transparent;
    TolerateDamage = other.TolerateDamage;
  }
  return *this;
}

void TGIFImage::Assign(const TGIFImage& other) {
  *this = other;
  NotifyChange();
}

void TGIFImage::Reset() {
  HeaderData = std::make_shared<TGIFData>();
  FrameList.clear();
  ActiveFrame = -1;
  BackdropColor = kNoColor;
  LoopCount = 1;
  HasLoopBlock = false;
  SignatureVersion = 0;
  DataDamaged = false;
  LogicalWidth = LogicalHeight = 0;
}

void TGIFImage::Clear() {
  Reset();
  NotifyChange();
}

void TGIFImage::LoadFromBytes(std::span<const std::uint8_t> bytes) {
  try {
    ParseGIFStream(*this, bytes);
  } catch (...) {
    NotifyChange();
    throw;
  }
  NotifyChange();
}

void TGIFImage::LoadFromFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) RaiseGIFError(FormatGIFMessage(gifmsg::CannotOpen, path.string()));
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) RaiseGIFError(gifmsg::StreamRead);
  LoadFromBytes(bytes);
}

const TGIFBitmap& TGIFImage::FrameBitmap(int index) {
  TGIFFrame& f = Frame(index);
  const TGIFBitmap& bmp = f.Bitmap(TolerateDamage, OnProgress);
  DataDamaged |= f.DataDamaged;
  return bmp;
}

int TGIFImage::Width() const {
  if (ActiveFrame < 0 || ActiveFrame >= Count() || !Frame(ActiveFrame).HasBitmap()) return 0;
  return Frame(ActiveFrame).DecodedBitmap->Width;
}

int TGIFImage::Height() const {
  if (ActiveFrame < 0 || ActiveFrame >= Count() || !Frame(ActiveFrame).HasBitmap()) return 0;
  return Frame(ActiveFrame).DecodedBitmap->Height;
}

void TGIFImage::SetWidth(int) { RaiseGIFError(gifmsg::CannotResize); }
void TGIFImage::SetHeight(int) { RaiseGIFError(gifmsg::CannotResize); }

bool TGIFImage::Empty() const {
  if (FrameList.empty()) return true;
  if (ActiveFrame < 0 || ActiveFrame >= Count()) return true;
  const TGIFFrame& f = Frame(ActiveFrame);
  return !f.HasBitmap() && f.Source().CompressedData.empty();
}

bool TGIFImage::IsTransparent() const {
  if (!Transparent) return false;
  for (const TGIFFrame& f : FrameList)
    if (f.KeyColor != kNoColor) return true;
  return false;
}

void TGIFImage::NotifyChange() {
  if (OnChange) OnChange();
}

}  // namespace rasp
