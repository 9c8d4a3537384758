#pragma once
// Writes GIF files byte by byte for the tests: screen, tables, extensions and
// frames whose LZW data are either produced here or given code by code.
#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "gif/GIFTypes.h"

namespace rasp::test {

using Bytes = std::vector<std::uint8_t>;

// Packs codes LSB first, tracking the code width exactly as a GIF decoder
// does, so a test can write any sequence of codes by hand.
class TCodeWriter {
 public:
  explicit TCodeWriter(int codeSize) : CodeSize(codeSize) { Reset(); }

  int Clear() const { return 1 << CodeSize; }
  int End() const { return Clear() + 1; }
  int NextFree() const { return Next; }
  int Width() const { return W; }

  void Put(int code) {
    PutBits(code, W);
    if (code == Clear()) {
      Reset();
      return;
    }
    if (HasPrev && Next < 4096) {
      ++Next;
      if (Next == (1 << W) && W < 12) ++W;
    }
    HasPrev = true;
  }
  // Writes bits without touching the width model (for broken streams).
  void PutBits(int code, int width) {
    Acc |= std::uint64_t(code) << N;
    N += width;
    while (N >= 8) {
      Data.push_back(std::uint8_t(Acc & 0xFF));
      Acc >>= 8;
      N -= 8;
    }
  }
  Bytes Finish() {
    if (N > 0) Data.push_back(std::uint8_t(Acc & 0xFF));
    Acc = 0;
    N = 0;
    return Data;
  }

 private:
  void Reset() {
    Next = Clear() + 2;
    W = CodeSize + 1;
    HasPrev = false;
  }
  int CodeSize;
  int Next = 0, W = 0;
  bool HasPrev = false;
  std::uint64_t Acc = 0;
  int N = 0;
  Bytes Data;
};

// The code-size byte and the data cut into sub-blocks, with the terminator.
inline Bytes Blocked(int codeSize, const Bytes& data, bool terminator = true, std::size_t blockSize = 255) {
  Bytes out{std::uint8_t(codeSize)};
  for (std::size_t pos = 0; pos < data.size(); pos += blockSize) {
    const std::size_t n = std::min(blockSize, data.size() - pos);
    out.push_back(std::uint8_t(n));
    out.insert(out.end(), data.begin() + std::ptrdiff_t(pos), data.begin() + std::ptrdiff_t(pos + n));
  }
  if (terminator) out.push_back(0);
  return out;
}

// A valid stream that sends every pixel as its own code, clearing the table
// before the code width would grow.
inline Bytes EncodeLiteral(const Bytes& pixels, int codeSize) {
  TCodeWriter w(codeSize);
  const int perClear = std::max(1, w.Clear() - 2);
  int sinceClear = perClear;
  for (std::uint8_t p : pixels) {
    if (sinceClear == perClear) {
      w.Put(w.Clear());
      sinceClear = 0;
    }
    w.Put(p);
    ++sinceClear;
  }
  w.Put(w.End());
  return w.Finish();
}

// A real LZW encoder: strings grow in a dictionary, which is cleared when full.
inline Bytes EncodeLzw(const Bytes& pixels, int codeSize) {
  TCodeWriter w(codeSize);
  const int clear = w.Clear();
  std::unordered_map<std::uint32_t, int> dict;
  int nextId = clear + 2;
  w.Put(clear);
  int prefix = -1;
  for (std::uint8_t p : pixels) {
    if (prefix < 0) {
      prefix = p;
      continue;
    }
    const std::uint32_t key = (std::uint32_t(prefix) << 8) | p;
    if (auto it = dict.find(key); it != dict.end()) {
      prefix = it->second;
      continue;
    }
    w.Put(prefix);
    if (nextId < 4096) {
      dict[key] = nextId++;
    } else {
      w.Put(clear);
      dict.clear();
      nextId = clear + 2;
    }
    prefix = p;
  }
  if (prefix >= 0) w.Put(prefix);
  w.Put(clear + 1);
  return w.Finish();
}

inline int DepthFor(std::size_t colours) {
  int d = 1;
  while ((std::size_t(1) << d) < colours) ++d;
  return d;
}

class TGifBuilder {
 public:
  TGifBuilder(int width, int height, std::vector<TRGB> global = {}, int background = 0,
              const std::string& signature = "GIF89a") {
    Out.assign(signature.begin(), signature.end());
    Word(width);
    Word(height);
    std::uint8_t packed = 0x70;
    if (!global.empty()) {
      const int d = DepthFor(global.size());
      packed |= 0x80 | std::uint8_t(d - 1);
      global.resize(std::size_t(1) << d);
    }
    Out.push_back(packed);
    Out.push_back(std::uint8_t(background));
    Out.push_back(0);
    Table(global);
    GlobalColours = int(global.size());
  }

  TGifBuilder& Loop(int count, const char* id = "NETSCAPE2.0") {
    Out.insert(Out.end(), {0x21, 0xFF, 11});
    Out.insert(Out.end(), id, id + 11);
    Out.insert(Out.end(), {3, 1, std::uint8_t(count & 0xFF), std::uint8_t(count >> 8), 0});
    return *this;
  }
  TGifBuilder& Gce(int disposal, int delay, int transparentIndex = -1) {
    const std::uint8_t packed = std::uint8_t((disposal & 7) << 2 | (transparentIndex >= 0 ? 1 : 0));
    Out.insert(Out.end(), {0x21, 0xF9, 4, packed, std::uint8_t(delay & 0xFF), std::uint8_t(delay >> 8),
                           std::uint8_t(transparentIndex >= 0 ? transparentIndex : 0), 0});
    return *this;
  }
  TGifBuilder& Comment(const std::string& text) {
    Out.insert(Out.end(), {0x21, 0xFE});
    Out.push_back(std::uint8_t(text.size()));
    Out.insert(Out.end(), text.begin(), text.end());
    Out.push_back(0);
    return *this;
  }
  // A frame from pixel indices in display order.
  TGifBuilder& Frame(int x, int y, int w, int h, const Bytes& pixels, std::vector<TRGB> local = {},
                     bool interlaced = false, int codeSize = 0) {
    Bytes ordered = pixels;
    if (interlaced) {
      ordered.clear();
      static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4; ++pass)
        for (int r = start[pass]; r < h; r += step[pass])
          ordered.insert(ordered.end(), pixels.begin() + std::ptrdiff_t(r) * w,
                         pixels.begin() + std::ptrdiff_t(r + 1) * w);
    }
    const int colours = local.empty() ? GlobalColours : int(std::size_t(1) << DepthFor(local.size()));
    if (codeSize == 0) codeSize = std::max(2, DepthFor(std::size_t(std::max(colours, 2))));
    return RawFrame(x, y, w, h, Blocked(codeSize, EncodeLzw(ordered, codeSize)), std::move(local), interlaced);
  }
  // A frame whose compressed data (code-size byte and sub-blocks) are given.
  TGifBuilder& RawFrame(int x, int y, int w, int h, const Bytes& compressed, std::vector<TRGB> local = {},
                        bool interlaced = false) {
    Out.push_back(0x2C);
    Word(x);
    Word(y);
    Word(w);
    Word(h);
    std::uint8_t packed = interlaced ? 0x40 : 0;
    if (!local.empty()) {
      const int d = DepthFor(local.size());
      packed |= 0x80 | std::uint8_t(d - 1);
      local.resize(std::size_t(1) << d);
    }
    Out.push_back(packed);
    Table(local);
    Out.insert(Out.end(), compressed.begin(), compressed.end());
    return *this;
  }
  TGifBuilder& Raw(const Bytes& b) {
    Out.insert(Out.end(), b.begin(), b.end());
    return *this;
  }
  Bytes Build(bool trailer = true) const {
    Bytes b = Out;
    if (trailer) b.push_back(0x3B);
    return b;
  }

 private:
  void Word(int v) {
    Out.push_back(std::uint8_t(v & 0xFF));
    Out.push_back(std::uint8_t((v >> 8) & 0xFF));
  }
  void Table(const std::vector<TRGB>& t) {
    for (const TRGB& c : t) Out.insert(Out.end(), {c.r, c.g, c.b});
  }
  Bytes Out;
  int GlobalColours = 0;
};

// A palette of `n` distinct colours.
inline std::vector<TRGB> Palette(int n) {
  std::vector<TRGB> p;
  for (int i = 0; i < n; ++i)
    p.push_back(TRGB{std::uint8_t(i * 37 + 11), std::uint8_t(i * 91 + 23), std::uint8_t(255 - i * 13)});
  return p;
}

}  // namespace rasp::test
