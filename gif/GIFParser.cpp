#include "gif/GIFParser.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstring>
#include <iterator>

#include "gif/GIFImage.h"

namespace rasp {
namespace {

// Raised inside the parser when a fixed-size read runs past the end.
struct TTruncated {};

class TByteReader {
 public:
  explicit TByteReader(std::span<const std::uint8_t> b) : Bytes(b) {}

  bool AtEnd() const { return Pos >= Bytes.size(); }
  std::size_t Remaining() const { return Bytes.size() - Pos; }

  std::uint8_t Byte() {
    if (AtEnd()) throw TTruncated{};
    return Bytes[Pos++];
  }
  unsigned Word() {
    const unsigned lo = Byte();
    return lo | (unsigned(Byte()) << 8);
  }
  TBytes Take(std::size_t n) {
    if (Remaining() < n) throw TTruncated{};
    TBytes out(Bytes.begin() + std::ptrdiff_t(Pos), Bytes.begin() + std::ptrdiff_t(Pos + n));
    Pos += n;
    return out;
  }
  // Data sub-blocks up to a zero length or the end; true when one was cut short.
  bool SubBlocks(std::vector<TBytes>& blocks) {
    bool cut = false;
    while (!AtEnd()) {
      const std::size_t len = Byte();
      if (len == 0) break;
      const std::size_t take = std::min(len, Remaining());
      cut |= take < len;
      blocks.push_back(Take(take));
    }
    return cut;
  }
  void ReadTable(TColorTable& table, int depth) {
    table.Count = 1 << depth;
    for (int i = 0; i < table.Count; ++i) {
      TRGB& e = table.Entries[std::size_t(i)];
      e.r = Byte();
      e.g = Byte();
      e.b = Byte();
    }
  }

 private:
  std::span<const std::uint8_t> Bytes;
  std::size_t Pos = 0;
};

bool EqualNoCase(const std::uint8_t* a, const char* b, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i)
    if (std::tolower(a[i]) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

class TGIFParser {
 public:
  TGIFParser(TGIFImage& image, std::span<const std::uint8_t> bytes) : Img(image), In(bytes) {}

  void Run() {
    Img.Reset();
    ReadSignature();
    auto header = std::make_shared<TGIFData>();
    try {
      ReadScreen(*header);
    } catch (const TTruncated&) {
      RaiseGIFError(gifmsg::StreamRead);
    }
    Img.HeaderData = header;
    Header = header.get();
    try {
      Blocks();
    } catch (const TTruncated&) {
      // A file that ends early keeps the frames it holds.
      if (Img.FrameList.empty() || !Img.TolerateDamage) RaiseGIFError(gifmsg::StreamRead);
      Img.DataDamaged = true;
    }
    // A GIF without a single picture would be a blank banner that looks
    // like a success.
    if (Img.FrameList.empty()) RaiseGIFError(gifmsg::NoFrames);
    {
      Img.ActiveFrame = 0;
      try {
        Img.FrameBitmap(0);
      } catch (...) {
        Img.FrameList.erase(Img.FrameList.begin());
        if (Img.FrameList.empty()) Img.ActiveFrame = -1;
        throw;
      }
    }
  }

 private:
  void ReadSignature() {
    if (In.Remaining() < 6) RaiseGIFError(gifmsg::UnknownVersion);
    const TBytes sig = In.Take(6);
    if (!EqualNoCase(sig.data(), "GIF", 3)) RaiseGIFError(gifmsg::UnknownVersion);
    if (EqualNoCase(sig.data() + 3, "87a", 3))
      Img.SignatureVersion = 1;
    else if (EqualNoCase(sig.data() + 3, "89a", 3))
      Img.SignatureVersion = 2;
    else
      RaiseGIFError(gifmsg::UnknownVersion);
  }

  void ReadScreen(TGIFData& header) {
    const unsigned width = In.Word();
    const unsigned height = In.Word();
    const std::uint8_t packed = In.Byte();
    const std::uint8_t background = In.Byte();
    header.PixelAspect = In.Byte();
    header.GlobalDepth = (packed & 7) + 1;
    header.ColorResolution = ((packed >> 4) & 7) + 1;
    // The composed picture holds 4 bytes per screen pixel.
    if (std::uint64_t(width) * height * 4 > TGIFImage::kMaxPixels) RaiseGIFError(gifmsg::TooLarge);
    Img.LogicalWidth = int(width);
    Img.LogicalHeight = int(height);
    if (packed & 0x80) {
      In.ReadTable(header.GlobalTable, header.GlobalDepth);
      if (background < header.GlobalTable.Count) Img.BackdropColor = header.GlobalTable.ColorAt(background);
    }
  }

  void Blocks() {
    std::vector<TExtension> collected;
    std::uint8_t b = In.AtEnd() ? ';' : In.Byte();
    while (b != 0 && b != ';') {
      while (b == '!') {
        ReadExtension(collected);
        b = In.AtEnd() ? ';' : In.Byte();
      }
      if (b == ',') {
        ReadFrame(collected);
        b = ';';
        while (!In.AtEnd()) {
          b = In.Byte();
          if (b != 0) break;
          b = ';';
        }
        if (b != '!' && b != ',' && b != ';') return;  // trailing bytes after a frame
        continue;
      }
      if (Header->CommentLines.empty() && !collected.empty()) {
        // Comments after the last frame belong to the image.
        for (const TExtension& e : collected) {
          if (e.Kind != TExtension::Comment) continue;
          if (!Header->CommentLines.empty()) Header->CommentLines.push_back("\r\n\r\n");
          Header->CommentLines.push_back(e.CommentText());
        }
        collected.clear();
      } else if (b != 0 && b != ';') {
        RaiseGIFError(gifmsg::StreamRead);
      }
      if (In.AtEnd()) return;
    }
  }

  // Every extension is its label and a run of data sub-blocks; the first
  // sub-block is the fixed part its label defines. Reading each one by its
  // lengths keeps the parse in step whatever an extension holds, and lets
  // labels we do not know be skipped, as the GIF89a rules ask.
  void ReadExtension(std::vector<TExtension>& collected) {
    const std::uint8_t label = In.Byte();
    std::vector<TBytes> blocks;
    if (In.SubBlocks(blocks)) {
      // The file ends inside the extension: the frames before it stay.
      if (!Img.TolerateDamage) RaiseGIFError(gifmsg::StreamRead);
      Img.DataDamaged = true;
    }
    TExtension ext;
    auto split = [&] {
      if (blocks.empty()) return;
      ext.FixedBlock.push_back(std::uint8_t(blocks.front().size()));
      ext.FixedBlock.insert(ext.FixedBlock.end(), blocks.front().begin(), blocks.front().end());
      ext.SubBlocks.assign(std::make_move_iterator(blocks.begin() + 1), std::make_move_iterator(blocks.end()));
    };
    switch (label) {
      case 0xF9:
        ext.Kind = TExtension::GraphicControl;
        split();
        // Shorter than its four bytes it says nothing usable (giflib ignores it too).
        if (ext.FixedBlock.size() >= 5) collected.push_back(std::move(ext));
        return;
      case 0xFE:
        ext.Kind = TExtension::Comment;
        ext.SubBlocks = std::move(blocks);
        collected.push_back(std::move(ext));
        return;
      case 0x01:
        collected.clear();
        return;
      case 0xFF: {
        ext.Kind = TExtension::Application;
        split();
        // The identifier compares as a length-prefixed string: size byte 11.
        const bool loopId = ext.FixedBlock.size() == 12 && ext.FixedBlock[0] == 11 &&
                            (std::memcmp(ext.FixedBlock.data() + 1, "NETSCAPE2.0", 11) == 0 ||
                             std::memcmp(ext.FixedBlock.data() + 1, "ANIMEXTS1.0", 11) == 0);
        if (loopId && !ext.SubBlocks.empty() && ext.SubBlocks[0].size() >= 3 && ext.SubBlocks[0][0] == 1) {
          Img.HasLoopBlock = true;
          const int count = ext.SubBlocks[0][1] | (ext.SubBlocks[0][2] << 8);
          Img.LoopCount = std::min(TGIFImage::kMaxLoopCount, count);
        }
        return;
      }
      default:
        return;  // an unknown label (image names, editor data ...): skipped
    }
  }

  void ReadFrame(std::vector<TExtension>& collected) {
    if (Img.FrameList.size() >= TGIFImage::kMaxFrames) RaiseGIFError(gifmsg::TooManyFrames);
    TGIFFrame frame;
    auto item = std::make_shared<TGIFItem>();
    const TColorTable& global = Header->GlobalTable;
    if (global.Count > 0) {
      if (!std::has_single_bit(unsigned(global.Count)) || global.Count < 2 || global.Count > 256)
        RaiseGIFError(gifmsg::ColorCount);
      item->Depth = std::countr_zero(unsigned(global.Count));
    }
    frame.BlockList = std::move(collected);
    collected.clear();
    ReadFrameBlock(frame, *item);
    frame.SourceData = std::move(item);
    Img.FrameList.push_back(std::move(frame));
  }

  void ReadFrameBlock(TGIFFrame& frame, TGIFItem& item) {
    const int left = int(In.Word());
    const int top = int(In.Word());
    int width = int(In.Word());
    int height = int(In.Word());
    const std::uint8_t packed = In.Byte();
    frame.IsInterlaced = (packed & 0x40) != 0;
    if (packed & 0x80) {
      item.Depth = (packed & 7) + 1;
      frame.HasLocalTable = true;
      In.ReadTable(item.LocalTable, item.Depth);
    }

    item.CompressedData.push_back(In.Byte());
    while (!In.AtEnd()) {
      const std::size_t len = In.Byte();
      if (len == 0) break;
      const std::size_t take = std::min(len, In.Remaining());
      if (take < len) frame.DataDamaged = true;
      item.CompressedData.push_back(std::uint8_t(take));
      const TBytes data = In.Take(take);
      item.CompressedData.insert(item.CompressedData.end(), data.begin(), data.end());
    }
    if (frame.DataDamaged) {
      if (!Img.TolerateDamage) RaiseGIFError(gifmsg::StreamRead);
      Img.DataDamaged = true;
    }

    if (width == 0) width = Img.LogicalWidth;
    if (height == 0) height = Img.LogicalHeight;
    DeclaredPixels += std::uint64_t(width) * std::uint64_t(height);
    if (DeclaredPixels > TGIFImage::kMaxPixels) RaiseGIFError(gifmsg::TooLarge);
    frame.Origin = {left, top};
    item.PixelSize = {width, height};
    item.DescriptorFlags = packed;
    frame.ScreenSize = {Img.LogicalWidth, Img.LogicalHeight};
    if (!frame.HasLocalTable) item.LocalTable = Header->GlobalTable;

    frame.DelayMs = 0;
    for (const TExtension& e : frame.BlockList) {
      if (e.Kind != TExtension::GraphicControl) continue;
      const std::uint8_t gc = e.GCPacked();
      if (gc & 1) {
        const int index = e.GCTransparentIndex();
        if (index < item.LocalTable.Count) {
          frame.KeyColor = item.LocalTable.ColorAt(index);
          frame.TransparentIndex = index;
        } else if (index == item.LocalTable.Count && index > 0) {
          // One past the table: encoders write this for a colour of its own
          // that only stands for "nothing", and every decoder leaves those
          // pixels out. The bitmap shows such an index in grey.
          frame.KeyColor = MakeColor(128, 128, 128);
          frame.TransparentIndex = index;
        }
      } else {
        frame.KeyColor = kNoColor;
        frame.TransparentIndex = -1;
      }
      frame.DelayMs = std::max(frame.DelayMs, 10u * e.GCDelay());
      frame.Disposal = (gc >> 2) & 7;
    }
  }

  TGIFImage& Img;
  TByteReader In;
  TGIFData* Header = nullptr;
  std::uint64_t DeclaredPixels = 0;
};

void ParseGIFStream(TGIFImage& image, std::span<const std::uint8_t> bytes) {
  TGIFParser(image, bytes).Run();
}

}  // namespace rasp
