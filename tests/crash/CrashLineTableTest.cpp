#include "crash/modules/CrashBytes.h"
#include "crash/modules/CrashConsts.h"
#include "crash/modules/CrashDebugData.h"
#include "tools/crashblock/CrashDebugWriter.h"

#include <gtest/gtest.h>

#include <random>

using namespace rasp;

namespace {
void Name(std::vector<uint8_t>& t, const std::string& s) {
  t.push_back(uint8_t(s.size()));
  for (char c : s) t.push_back(uint8_t(uint8_t(c) ^ CrashStringKey));
}

// A table written byte by byte, one entry of every form (unit 0x1000 .. 0x10FF,
// first line 10).
std::vector<uint8_t> HandTable() {
  std::vector<uint8_t> t;
  t.push_back(0x2D); Name(t, "TFoo.Bar");                     // name, line +2, address +4
  t.push_back(0x9E);                                          // line +3, address +16
  t.insert(t.end(), {0x33, 0x9E});                            // 16-bit: line +20, address +100
  t.insert(t.end(), {0x17, 0x00}); Name(t, ".Baz");           // 16-bit with name: line +1, address +2
  t.insert(t.end(), {0x9B, 0xFF, 0x9F, 0x00});                // 32-bit: line -6, address +10
  t.insert(t.end(), {0xFF, 0xFF, 0xFF, 0xFF}); Name(t, "Plain");  // 32-bit: line 0, address 0
  t.insert(t.end(), {0xEB, 0xFF, 0xEF, 0xFF, 0x04, 0x00, 0x0F, 0x00});  // escape: line +5, address +16
  t.push_back(0x01); Name(t, "@Init");                        // name, line +1, address +1
  return t;
}

struct TExpect {
  uint64_t Address;
  const char* Class;
  const char* Routine;
  uint32_t Line;
};

TCrashLineHit Find(const std::vector<uint8_t>& t, uint16_t v, uint64_t a, bool* found) {
  TCrashLineHit hit;
  *found = DecodeCrashLineTable({reinterpret_cast<const char*>(t.data()), t.size()}, v, 0x1000, 0x100, 10, a, &hit);
  return hit;
}
} // namespace

TEST(CrashLineTable, EveryEntryFormDecodes) {
  const std::vector<uint8_t> t = HandTable();
  const TExpect cases[] = {
    {0x1000, "TFoo", "Bar", 10}, {0x1003, "TFoo", "Bar", 10},
    {0x1004, "TFoo", "Bar", 12}, {0x1013, "TFoo", "Bar", 12},
    {0x1014, "TFoo", "Bar", 15}, {0x1077, "TFoo", "Bar", 15},
    // The class changes with the name's own entry, the routine after it.
    {0x1078, "TFoo", "Bar", 35}, {0x1079, "TFoo", "Bar", 35},
    {0x107A, "TFoo", "Baz", 36}, {0x1083, "TFoo", "Baz", 36},
    {0x1084, "", "Plain", 30},   {0x1093, "", "Plain", 30},
    {0x1094, "", "Plain", 35},
    {0x1095, "", "_Init", 36},   {0x10FF, "", "_Init", 36},
  };
  for (const TExpect& e : cases) {
    SCOPED_TRACE(e.Address);
    bool found;
    TCrashLineHit h = Find(t, 460, e.Address, &found);
    ASSERT_TRUE(found);
    EXPECT_EQ(h.OwnerClass, e.Class);
    EXPECT_EQ(h.Routine, e.Routine);
    EXPECT_EQ(h.LineNo, e.Line);
  }
  bool found;
  Find(t, 460, 0x1100, &found);
  EXPECT_FALSE(found);
  Find(t, 460, 0xFFF, &found);
  EXPECT_FALSE(found);
}

TEST(CrashLineTable, TheEscapeNeedsVersion423) {
  const std::vector<uint8_t> t = HandTable();
  bool found;
  // Before 423 the escape value is an ordinary entry: line -1, 4095 bytes.
  TCrashLineHit h = Find(t, 422, 0x1094, &found);
  ASSERT_TRUE(found);
  EXPECT_EQ(h.LineNo, 30u);
  h = Find(t, 423, 0x1094, &found);
  ASSERT_TRUE(found);
  EXPECT_EQ(h.LineNo, 35u);
}

TEST(CrashLineTable, AddressStepFFFMeansZero) {
  // 32-bit entry, address field 0xFFF, line +7: an empty range.
  std::vector<uint8_t> t;
  uint32_t d = ((0xFFFu << 16 | 6u) << 4) | 8 | 3;
  for (int i = 0; i < 4; ++i) t.push_back(uint8_t(d >> (8 * i)));
  bool found;
  TCrashLineHit h = Find(t, 460, 0x1000, &found);
  ASSERT_TRUE(found);
  EXPECT_EQ(h.LineNo, 17u);  // the trailing range, after the step
}

TEST(CrashLineTable, DamagedTablesEndSafely) {
  std::vector<uint8_t> t = HandTable();
  // Cut inside every entry: decoding ends at the cut, never beyond.
  for (size_t n = 0; n <= t.size(); ++n) {
    std::vector<uint8_t> cut(t.begin(), t.begin() + long(n));
    bool found;
    Find(cut, 460, 0x10F0, &found);
  }
  // A name whose length runs past the table's end.
  std::vector<uint8_t> bad = {0x01, 0xFF, 'x'};
  bool found;
  TCrashLineHit h = Find(bad, 460, 0x1000, &found);
  EXPECT_TRUE(found);  // the trailing range with the first line
  EXPECT_EQ(h.LineNo, 10u);
  // A long run of entries of no length (a table that would loop) ends.
  std::vector<uint8_t> zeros;
  for (int i = 0; i < 100000; ++i) zeros.insert(zeros.end(), {0xFB, 0xFF, 0xFF, 0xFF});
  h = Find(zeros, 460, 0x1010, &found);
  EXPECT_TRUE(found);
  // Entries that run past the unit's end stop the decoding.
  std::vector<uint8_t> far;
  for (int i = 0; i < 1000; ++i) far.push_back(0x3E);  // address +32 each
  size_t visited = 0;
  DecodeCrashLineTable({reinterpret_cast<const char*>(far.data()), far.size()}, 460, 0x1000, 0x100, 1, std::nullopt,
                       nullptr, [&](const TCrashLineRange&) { ++visited; });
  EXPECT_LE(visited, 9u);
}

TEST(CrashLineTable, EncoderRoundTrip) {
  std::mt19937 rng(17);
  for (int round = 0; round < 200; ++round) {
    TCrashUnitSource u;
    u.Name = "Unit.cpp";
    u.Start = 0x4000 + rng() % 0x1000;
    uint64_t a = u.Start;
    int64_t line = 1 + rng() % 50000;
    int rows = 1 + int(rng() % 40);
    for (int i = 0; i < rows; ++i) {
      TCrashRow r;
      r.Address = a;
      r.Line = line;
      if (rng() % 4 == 0) r.Name = (rng() % 2 ? "TClass" + std::to_string(rng() % 3) + "." : "") + std::string("R") +
                                   std::to_string(i);
      u.Rows.push_back(r);
      uint32_t kind = rng() % 4;
      a += kind == 0 ? 1 + rng() % 8 : kind == 1 ? 1 + rng() % 200 : kind == 2 ? 1 + rng() % 5000 : 1 + rng() % 200000;
      int64_t next = line + int64_t(rng() % 80000) - 40000;
      line = next < 1 ? 1 : next;
    }
    u.Size = a - u.Start;
    std::vector<uint8_t> t = EncodeCrashLineTable(u);
    std::string_view table(reinterpret_cast<const char*>(t.data()), t.size());
    std::string cls, routine;
    for (size_t i = 0; i < u.Rows.size(); ++i) {
      const TCrashRow& r = u.Rows[i];
      if (!r.Name.empty()) {
        size_t dot = r.Name.find('.');
        cls = dot == std::string::npos ? "" : r.Name.substr(0, dot);
        routine = dot == std::string::npos ? r.Name : r.Name.substr(dot + 1);
      }
      uint64_t end = i + 1 < u.Rows.size() ? u.Rows[i + 1].Address : u.Start + u.Size;
      for (uint64_t probe : {r.Address, (r.Address + end - 1) / 2, end - 1}) {
        TCrashLineHit hit;
        ASSERT_TRUE(DecodeCrashLineTable(table, 460, u.Start, u.Size, uint32_t(u.Rows[0].Line), probe, &hit));
        ASSERT_EQ(hit.LineNo, uint32_t(r.Line)) << round << " row " << i;
        ASSERT_EQ(hit.Routine, routine);
        ASSERT_EQ(hit.OwnerClass, cls);
      }
    }
  }
}

TEST(CrashDebugData, UnitsSymbolsAndHostileLengths) {
  TCrashUnitSource a{"First.cpp", 0x2000, 0x40, {{0x2000, 5, "TA.Run"}, {0x2010, 9, ""}}};
  TCrashUnitSource b{"Second.cpp", 0x3000, 0x20, {{0x3000, 100, "main"}}};
  std::vector<uint8_t> data = WriteCrashDebugData({{"TA::Run", 0x2000}, {"main", 0x3000}}, {a, b});
  TCrashDebugData d;
  ASSERT_TRUE(d.Open(data, 460));
  EXPECT_EQ(d.UnitCount(), 2u);
  EXPECT_EQ(d.SymbolCount(), 2u);
  TCrashLineHit hit;
  ASSERT_TRUE(d.Lookup(0x2011, hit));
  EXPECT_EQ(hit.UnitFile, "First.cpp");
  EXPECT_EQ(hit.OwnerClass, "TA");
  EXPECT_EQ(hit.Routine, "Run");
  EXPECT_EQ(hit.LineNo, 9u);
  ASSERT_TRUE(d.Lookup(0x301F, hit));
  EXPECT_EQ(hit.UnitFile, "Second.cpp");
  EXPECT_EQ(hit.Routine, "main");
  EXPECT_FALSE(d.Lookup(0x2040, hit));
  EXPECT_FALSE(d.Lookup(0x1FFF, hit));
  EXPECT_EQ(d.FindRoutine("main"), 0x3000u);
  EXPECT_EQ(d.FindRoutine("TA::Run"), 0x2000u);
  EXPECT_FALSE(d.FindRoutine("TA::run"));  // exact, case-sensitive

  // Every truncation is refused as a whole.
  for (size_t n = 0; n < data.size(); ++n) {
    TCrashDebugData cut;
    EXPECT_FALSE(cut.Open(std::vector<uint8_t>(data.begin(), data.begin() + long(n)), 460)) << n;
  }
  // A symbol section longer than the data, a unit count beyond it.
  std::vector<uint8_t> lie = data;
  lie[3] = 0x7F;
  EXPECT_FALSE(TCrashDebugData().Open(lie, 460));
  // Without the symbol section (before 405) the same bytes are misread but
  // never read past the end.
  TCrashDebugData old;
  old.Open(data, 404);
}

TEST(CrashDebugData, OverlappingUnitsAreSearchedInStoredOrder) {
  TCrashUnitSource a{"A.cpp", 0x2000, 0x100, {{0x2000, 1, "A"}}};
  TCrashUnitSource b{"B.cpp", 0x1F00, 0x200, {{0x1F00, 2, "B"}}};
  TCrashDebugData d;
  ASSERT_TRUE(d.Open(WriteCrashDebugData({}, {a, b}), 460));
  TCrashLineHit hit;
  ASSERT_TRUE(d.Lookup(0x2050, hit));
  EXPECT_EQ(hit.UnitFile, "A.cpp");
  ASSERT_TRUE(d.Lookup(0x1F50, hit));
  EXPECT_EQ(hit.UnitFile, "B.cpp");
}
