#include "tools/crashblock/CrashDebugWriter.h"

#include "crash/modules/CrashBytes.h"
#include "crash/modules/CrashConsts.h"

#include <algorithm>

namespace rasp {

namespace {
void ShortString(TByteWriter& w, const std::string& s) {
  size_t n = std::min<size_t>(s.size(), 255);
  w.u8(uint8_t(n));
  for (size_t i = 0; i < n; ++i) w.u8(uint8_t(uint8_t(s[i]) ^ CrashStringKey));
}
} // namespace

void EncodeCrashLineEntry(std::vector<uint8_t>& out, int lineStep, uint32_t addressStep, const std::string* name) {
  TByteWriter w;
  bool hasName = name != nullptr;
  if (!hasName && lineStep >= 1 && lineStep <= 4 && addressStep >= 1 && addressStep <= 32) {
    w.u8(uint8_t(((lineStep - 1) << 6) | ((addressStep - 1) << 1)));
  } else if (hasName && lineStep >= 1 && lineStep <= 8 && addressStep >= 1 && addressStep <= 8) {
    w.u8(uint8_t(((lineStep - 1) << 5) | ((addressStep - 1) << 2) | 1));
  } else if (lineStep >= 1 && lineStep <= 32 && addressStep >= 1 && addressStep <= 128) {
    w.u16(uint16_t(((lineStep - 1) << 11) | ((addressStep - 1) << 4) | (hasName ? 4 : 0) | 3));
  } else {
    uint32_t lineField = uint32_t(lineStep - 1) & 0xFFFF;
    uint32_t flags = 8 | (hasName ? 4 : 0) | 3;
    if (addressStep <= 4095) {
      uint32_t addressField = addressStep == 0 ? 0xFFF : addressStep - 1;
      uint32_t x = (addressField << 16) | lineField;
      if (x != 0x0FFEFFFE) {
        w.u32((x << 4) | flags);
        addressStep = UINT32_MAX;  // written
      }
    }
    if (addressStep != UINT32_MAX) {
      // The escape: both steps follow as 16-bit values.
      w.u32((0x0FFEFFFEu << 4) | flags);
      w.u16(uint16_t(lineField));
      w.u16(uint16_t(addressStep - 1));
    }
  }
  if (hasName) ShortString(w, *name);
  out.insert(out.end(), w.data().begin(), w.data().end());
}

std::vector<uint8_t> EncodeCrashLineTable(const TCrashUnitSource& unit) {
  std::vector<uint8_t> out;
  const std::vector<TCrashRow>& rows = unit.Rows;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (!rows[i].Name.empty()) EncodeCrashLineEntry(out, 0, 0, &rows[i].Name);
    if (i + 1 == rows.size()) break;  // the last row runs to the unit's end
    int64_t lineStep = rows[i + 1].Line - rows[i].Line;
    uint64_t addressStep = rows[i + 1].Address - rows[i].Address;
    // Long ranges and far line jumps take several entries.
    while (addressStep > 65536) {
      EncodeCrashLineEntry(out, 0, 65536, nullptr);
      addressStep -= 65536;
    }
    int64_t first = std::clamp<int64_t>(lineStep, -32768, 32767);
    EncodeCrashLineEntry(out, int(first), uint32_t(addressStep), nullptr);
    lineStep -= first;
    while (lineStep != 0) {
      int64_t part = std::clamp<int64_t>(lineStep, -32768, 32767);
      EncodeCrashLineEntry(out, int(part), 0, nullptr);
      lineStep -= part;
    }
  }
  return out;
}

std::vector<uint8_t> WriteCrashDebugData(const std::vector<TCrashSymbolSource>& symbols,
                                         const std::vector<TCrashUnitSource>& units) {
  TByteWriter w;
  TByteWriter sym;
  for (const TCrashSymbolSource& s : symbols) {
    if (s.Name.size() > 255) continue;  // a name that does not fit is never looked up
    ShortString(sym, s.Name);
    sym.u32(uint32_t(s.Address));
    sym.u32(0);
  }
  w.u32(uint32_t(sym.size()));
  w.bytes(sym.data());
  w.u32(uint32_t(units.size()));
  for (const TCrashUnitSource& u : units) {
    std::vector<uint8_t> table = EncodeCrashLineTable(u);
    ShortString(w, u.Name);
    w.u32(uint32_t(u.Rows.empty() ? 0 : u.Rows.front().Line));
    w.u32(uint32_t(u.Start));
    w.u32(uint32_t(u.Size));
    w.u32(uint32_t(table.size()));
    w.bytes(table);
  }
  return w.take();
}

} // namespace rasp
