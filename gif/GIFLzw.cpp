#include "gif/GIFLzw.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "gif/GIFError.h"

namespace rasp {
namespace {

constexpr int kMaxBits = 12;
constexpr int kTableSize = 1 << kMaxBits;

// Joins the data sub-blocks into one run of bytes; a length byte that claims
// more than is left takes what is left.
std::vector<std::uint8_t> JoinSubBlocks(std::span<const std::uint8_t> compressed) {
  std::vector<std::uint8_t> data;
  data.reserve(compressed.size());
  std::size_t pos = 1;
  while (pos < compressed.size()) {
    const std::size_t len = compressed[pos++];
    if (len == 0) break;
    const std::size_t take = std::min(len, compressed.size() - pos);
    data.insert(data.end(), compressed.begin() + std::ptrdiff_t(pos),
                compressed.begin() + std::ptrdiff_t(pos + take));
    pos += take;
  }
  return data;
}

// Walks the rows of a frame in the order the data fill them.
class TRowWriter {
 public:
  explicit TRowWriter(const TLzwTarget& t) : T(t) { Done = T.Width <= 0 || T.Height <= 0; }

  bool Done = false;

  // Stores `n` pixels from `src`; returns the count that did not fit.
  int Put(const std::uint8_t* src, int n) {
    while (n > 0 && !Done) {
      const int k = std::min(n, T.Width - X);
      if (Row < T.ClipHeight && X < T.ClipWidth) {
        const int stored = std::min(k, T.ClipWidth - X);
        std::memcpy(T.Pixels + std::size_t(Row) * std::size_t(T.ClipWidth) + std::size_t(X), src,
                    std::size_t(stored));
      }
      src += k;
      n -= k;
      X += k;
      if (X == T.Width) NextRow();
    }
    return n;
  }

  // A direct pointer for `n` pixels when they fit in the stored part of the
  // current row, else null.
  std::uint8_t* Direct(int n) {
    if (Done || X + n > T.Width || Row >= T.ClipHeight || X + n > T.ClipWidth) return nullptr;
    return T.Pixels + std::size_t(Row) * std::size_t(T.ClipWidth) + std::size_t(X);
  }
  void Advance(int n) {
    X += n;
    if (X == T.Width) NextRow();
  }
  int RowsDone() const { return Rows; }

 private:
  void NextRow() {
    X = 0;
    ++Rows;
    if (Rows >= T.Height) {
      Done = true;
      return;
    }
    if (!T.Interlaced) {
      ++Row;
      return;
    }
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    Row += kStep[Pass];
    while (Row >= T.Height && Pass < 3) {
      ++Pass;
      Row = kStart[Pass];
    }
  }

  const TLzwTarget& T;
  int X = 0, Row = 0, Pass = 0, Rows = 0;
};

}  // namespace

TLzwResult ExpandCodes(std::span<const std::uint8_t> compressed, const TLzwTarget& target,
                       bool tolerateDamage, const std::function<void(int)>& progress) {
  TLzwResult result;
  TRowWriter out(target);
  if (out.Done) {
    result.Complete = true;
    return result;
  }
  if (compressed.empty()) {
    result.Damaged = true;
    return result;
  }

  int codeSize = compressed[0];
  if (codeSize < 2 || codeSize > 8) {
    if (!tolerateDamage) RaiseGIFError(gifmsg::CodeSize);
    result.Damaged = true;
    codeSize = std::clamp(codeSize, 2, 8);
  }
  const std::vector<std::uint8_t> data = JoinSubBlocks(compressed);

  const int clearCode = 1 << codeSize;
  const int endCode = clearCode + 1;
  std::array<std::uint16_t, kTableSize> prefix{};
  std::array<std::uint8_t, kTableSize> suffix{};
  std::array<std::uint8_t, kTableSize> first{};
  std::array<std::uint16_t, kTableSize> length{};
  for (int c = 0; c < clearCode; ++c) {
    // An index the bitmap's palette cannot hold is stored as 0.
    const auto v = std::uint8_t(c < target.PaletteSize ? c : 0);
    suffix[std::size_t(c)] = first[std::size_t(c)] = v;
    length[std::size_t(c)] = 1;
  }
  std::array<std::uint8_t, kTableSize> stack{};

  int width = codeSize + 1;
  int nextFree = clearCode + 2;
  int prev = -1;
  std::uint64_t bits = 0;
  int bitCount = 0;
  std::size_t pos = 0;
  int lastPercent = -1;
  int lastRows = -1;

  auto invalid = [&] {
    if (!tolerateDamage) RaiseGIFError(gifmsg::InvalidData);
    result.Damaged = true;
  };

  // Writes the string of `code`, followed by `extra` when it is >= 0.
  auto emit = [&](int code, int extra) -> bool {
    const int len = length[std::size_t(code)] + (extra >= 0 ? 1 : 0);
    std::uint8_t* dst = out.Direct(len);
    std::uint8_t* buf = dst ? dst : stack.data();
    int i = len - 1;
    if (extra >= 0) buf[i--] = std::uint8_t(extra);
    int p = code;
    for (; i >= 0; --i) {
      buf[i] = suffix[std::size_t(p)];
      p = prefix[std::size_t(p)];
    }
    if (dst) {
      out.Advance(len);
      return true;
    }
    return out.Put(buf, len) == 0;
  };

  while (!out.Done) {
    while (bitCount < width && pos < data.size()) {
      bits |= std::uint64_t(data[pos++]) << bitCount;
      bitCount += 8;
    }
    if (bitCount < width) break;  // data ran out
    const int code = int(bits & ((1u << width) - 1));
    bits >>= width;
    bitCount -= width;

    if (code == clearCode) {
      width = codeSize + 1;
      nextFree = clearCode + 2;
      prev = -1;
      continue;
    }
    if (code == endCode) break;

    if (code < clearCode && code >= target.ColorCount && code != target.TransparentIndex) result.Damaged = true;

    bool fitted;
    if (prev < 0) {
      if (code > clearCode) {  // nothing in the table yet beyond the roots
        invalid();
        break;
      }
      fitted = emit(code, -1);
    } else if (code < nextFree) {
      fitted = emit(code, -1);
      if (nextFree < kTableSize) {
        prefix[std::size_t(nextFree)] = std::uint16_t(prev);
        suffix[std::size_t(nextFree)] = first[std::size_t(code)];
        first[std::size_t(nextFree)] = first[std::size_t(prev)];
        length[std::size_t(nextFree)] = std::uint16_t(length[std::size_t(prev)] + 1);
        ++nextFree;
      }
    } else if (code == nextFree && nextFree < kTableSize) {
      // The string being defined by this very code: prev + first(prev).
      fitted = emit(prev, first[std::size_t(prev)]);
      prefix[std::size_t(nextFree)] = std::uint16_t(prev);
      suffix[std::size_t(nextFree)] = first[std::size_t(prev)];
      first[std::size_t(nextFree)] = first[std::size_t(prev)];
      length[std::size_t(nextFree)] = std::uint16_t(length[std::size_t(prev)] + 1);
      ++nextFree;
    } else {
      invalid();
      break;
    }
    if (!fitted) {  // the string ran past the frame's last row
      result.Damaged = true;
      break;
    }
    if (nextFree == (1 << width) && width < kMaxBits) ++width;
    prev = code;

    if (progress && out.RowsDone() != lastRows) {
      lastRows = out.RowsDone();
      const int percent = data.empty() ? 100 : int(pos * 100 / data.size());
      if (percent != lastPercent) progress(lastPercent = percent);
    }
  }

  result.Complete = out.Done;
  if (!result.Complete) result.Damaged = true;
  if (progress && lastPercent != 100) progress(100);
  return result;
}

}  // namespace rasp
