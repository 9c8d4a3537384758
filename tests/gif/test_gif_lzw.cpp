// The LZW expander, fed streams written code by code.
#include <gtest/gtest.h>

#include "gif/GIFError.h"
#include "gif/GIFLzw.h"
#include "tests/gif/GifBuilder.h"

namespace rasp {
namespace {

using test::Blocked;
using test::Bytes;
using test::TCodeWriter;

struct TDecoded {
  TLzwResult Result;
  Bytes Pixels;
};

TDecoded Expand(const Bytes& compressed, int w, int h, bool interlaced = false, int colours = 256,
                int paletteSize = 256, bool tolerate = true, int clipW = -1, int clipH = -1) {
  TDecoded d;
  TLzwTarget t;
  t.Width = w;
  t.Height = h;
  t.ClipWidth = clipW < 0 ? w : clipW;
  t.ClipHeight = clipH < 0 ? h : clipH;
  t.Interlaced = interlaced;
  t.ColorCount = colours;
  t.PaletteSize = paletteSize;
  // Guard bytes after the buffer catch a write past the frame.
  d.Pixels.assign(std::size_t(t.ClipWidth) * std::size_t(t.ClipHeight) + 16, 0xEE);
  std::fill(d.Pixels.begin(), d.Pixels.end() - 16, 0);
  t.Pixels = d.Pixels.data();
  d.Result = ExpandCodes(compressed, t, tolerate);
  EXPECT_TRUE(std::all_of(d.Pixels.end() - 16, d.Pixels.end(), [](auto b) { return b == 0xEE; }));
  d.Pixels.resize(d.Pixels.size() - 16);
  return d;
}

Bytes Codes(int codeSize, std::initializer_list<int> codes) {
  TCodeWriter w(codeSize);
  for (int c : codes) w.Put(c);
  return Blocked(codeSize, w.Finish());
}

TEST(GifLzw, CodeEqualToNextFreeEntryRepeatsThePreviousString) {
  // clear, 1, then 6 and 7 are each the entry being defined by that code.
  const auto d = Expand(Codes(2, {4, 1, 6, 7, 5}), 6, 1, false, 4, 16);
  EXPECT_EQ(d.Pixels, (Bytes{1, 1, 1, 1, 1, 1}));
  EXPECT_FALSE(d.Result.Damaged);
  EXPECT_TRUE(d.Result.Complete);
}

TEST(GifLzw, ChainedEntriesAndWidthGrowth) {
  // 0 1 6(=0 1) 8(=1 0) 7... written against the decoder's own width rules.
  const auto d = Expand(Codes(2, {4, 0, 1, 6, 8, 7, 5}), 9, 1, false, 4, 16);
  // 0 | 1 | 0 1 | 8 is next free: (0 1)+0 | 7 = (1 0)
  EXPECT_EQ(d.Pixels, (Bytes{0, 1, 0, 1, 0, 1, 0, 1, 0}));
  EXPECT_FALSE(d.Result.Damaged);
}

TEST(GifLzw, FirstCodeNeedNotBeAClearCode) {
  const auto d = Expand(Codes(2, {3, 2, 1, 5}), 3, 1, false, 4, 16);
  EXPECT_EQ(d.Pixels, (Bytes{3, 2, 1}));
  EXPECT_FALSE(d.Result.Damaged);
}

TEST(GifLzw, DeferredClearKeepsTwelveBitCodesUntilTheClearCode) {
  TCodeWriter w(2);
  Bytes expect;
  w.Put(4);
  for (int i = 0; w.NextFree() < 4096; ++i) {
    w.Put(i % 3);
    expect.push_back(std::uint8_t(i % 3));
  }
  ASSERT_EQ(w.Width(), 12);
  ASSERT_EQ(expect.size(), 4091u);
  // The table is full: codes stay 12 bits wide and add nothing, so the last
  // entry still holds the pair it was given (literals 4089 and 4090).
  for (int k = 0; k < 40; ++k) {
    w.Put(k % 4);
    expect.push_back(std::uint8_t(k % 4));
  }
  w.Put(4095);
  expect.insert(expect.end(), {0, 1});
  w.Put(4);
  ASSERT_EQ(w.Width(), 3);
  w.Put(3);
  w.Put(2);
  w.Put(5);
  expect.insert(expect.end(), {3, 2});
  const auto d = Expand(Blocked(2, w.Finish()), int(expect.size()), 1, false, 4, 16);
  EXPECT_EQ(d.Pixels, expect);
  EXPECT_FALSE(d.Result.Damaged);
  EXPECT_TRUE(d.Result.Complete);
}

TEST(GifLzw, InvalidCodeStopsWithWhatWasDecoded) {
  // Code 7 while 6 is the next free entry: impossible.
  const auto d = Expand(Codes(2, {4, 1, 2, 3, 1, 1, 3, 2, 1, 4, 2, 7, 1, 5}), 12, 1, false, 4, 16);
  EXPECT_EQ(d.Pixels, (Bytes{1, 2, 3, 1, 1, 3, 2, 1, 2, 0, 0, 0}));
  EXPECT_TRUE(d.Result.Damaged);
  try {
    Expand(Codes(2, {4, 1, 7, 5}), 5, 1, false, 4, 16, false);
    ADD_FAILURE() << "accepted";
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_STREQ(e.what(), gifmsg::InvalidData);
  }
}

TEST(GifLzw, NonRootCodeRightAfterAClearIsDamage) {
  const auto d = Expand(Codes(2, {4, 6, 5}), 2, 1, false, 4, 16);
  EXPECT_EQ(d.Pixels, (Bytes{0, 0}));
  EXPECT_TRUE(d.Result.Damaged);
}

TEST(GifLzw, MissingEndCode) {
  // The frame fills exactly: nothing is missing, so nothing is damaged.
  auto full = Expand(Codes(2, {4, 1, 2, 3}), 3, 1, false, 4, 16);
  EXPECT_EQ(full.Pixels, (Bytes{1, 2, 3}));
  EXPECT_FALSE(full.Result.Damaged);
  EXPECT_TRUE(full.Result.Complete);
  // The data stop early: the rows reached are kept, the rest stays 0.
  auto cut = Expand(Codes(2, {4, 1, 2, 3}), 3, 2, false, 4, 16);
  EXPECT_EQ(cut.Pixels, (Bytes{1, 2, 3, 0, 0, 0}));
  EXPECT_TRUE(cut.Result.Damaged);
  EXPECT_FALSE(cut.Result.Complete);
}

TEST(GifLzw, StringRunningPastTheFrameIsCutNotWritten) {
  // 1, 2, then entry 6 = "1 2" leaves one pixel too many for a 3-pixel frame.
  const auto d = Expand(Codes(2, {4, 1, 2, 6, 5}), 3, 1, false, 4, 16);
  EXPECT_EQ(d.Pixels, (Bytes{1, 2, 1}));
  EXPECT_TRUE(d.Result.Damaged);
  // The same through the clipped path (frame wider than what is stored).
  const auto c = Expand(Codes(2, {4, 1, 2, 6, 5}), 3, 1, false, 4, 16, true, 2, 1);
  EXPECT_EQ(c.Pixels, (Bytes{1, 2}));
  EXPECT_TRUE(c.Result.Damaged);
}

TEST(GifLzw, CodeSizesOutsideTwoToEight) {
  for (int size : {0, 1, 9, 12, 255}) {
    Bytes data = Blocked(size, {0xFF, 0xFF, 0xFF, 0xFF});
    const auto d = Expand(data, 4, 4, false, 4, 16);
    EXPECT_TRUE(d.Result.Damaged) << size;
    try {
      Expand(data, 4, 4, false, 4, 16, false);
      ADD_FAILURE() << "size " << size << " accepted";
    } catch (const EInvalidGraphicOperation& e) {
      EXPECT_STREQ(e.what(), gifmsg::CodeSize);
    }
  }
  // 8 is the largest size a GIF can need.
  const auto ok = Expand(Codes(8, {256, 255, 0, 257}), 2, 1);
  EXPECT_EQ(ok.Pixels, (Bytes{255, 0}));
  EXPECT_FALSE(ok.Result.Damaged);
}

TEST(GifLzw, IndicesBeyondTheColourTable) {
  // Index 7 with a 4-entry table: damage, kept (the 16-entry palette holds it).
  const auto a = Expand(Codes(3, {8, 1, 7, 9}), 2, 1, false, 4, 16);
  EXPECT_EQ(a.Pixels, (Bytes{1, 7}));
  EXPECT_TRUE(a.Result.Damaged);
  // Index 200 cannot be held by a 16-entry palette: stored as 0.
  const auto b = Expand(Codes(8, {256, 200, 3, 257}), 2, 1, false, 16, 16);
  EXPECT_EQ(b.Pixels, (Bytes{0, 3}));
  EXPECT_TRUE(b.Result.Damaged);
}

TEST(GifLzw, InterlacedRowsFollowTheFourPasses) {
  for (int h : {1, 2, 3, 5, 8, 9, 10, 17}) {
    Bytes ordered;
    static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int r = start[pass]; r < h; r += step[pass]) ordered.insert(ordered.end(), {std::uint8_t(r), std::uint8_t(r)});
    const auto d = Expand(Blocked(5, test::EncodeLiteral(ordered, 5)), 2, h, true, 32, 256);
    Bytes expect;
    for (int r = 0; r < h; ++r) expect.insert(expect.end(), {std::uint8_t(r), std::uint8_t(r)});
    EXPECT_EQ(d.Pixels, expect) << "height " << h;
    EXPECT_FALSE(d.Result.Damaged);
  }
}

TEST(GifLzw, ClippedFrameStoresOnlyTheVisiblePart) {
  Bytes px;
  for (int i = 0; i < 20; ++i) px.push_back(std::uint8_t(i % 16));
  const auto d = Expand(Blocked(4, test::EncodeLiteral(px, 4)), 4, 5, false, 16, 16, true, 2, 3);
  EXPECT_EQ(d.Pixels, (Bytes{0, 1, 4, 5, 8, 9}));
  EXPECT_FALSE(d.Result.Damaged);
}

}  // namespace
}  // namespace rasp
