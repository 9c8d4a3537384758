#include "crash/modules/CrashDebugData.h"

#include "crash/modules/CrashBytes.h"
#include "crash/modules/CrashConsts.h"

#include <algorithm>

namespace rasp {

bool ReadCrashShortString(TByteReader& r, std::string& out) {
  uint8_t n = r.u8();
  std::string_view raw = r.bytes(n);
  if (!r.ok()) return false;
  out.resize(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) out[i] = char(uint8_t(raw[i]) ^ CrashStringKey);
  return true;
}

bool DecodeCrashLineTable(std::string_view table, uint16_t version, uint64_t unitStart, uint64_t unitSize,
                          uint32_t firstLine, std::optional<uint64_t> target, TCrashLineHit* hit,
                          const std::function<void(const TCrashLineRange&)>& visit) {
  TByteReader r(table.data(), table.size());
  int64_t line = firstLine;
  uint64_t address = unitStart;
  const uint64_t unitEnd = unitStart + unitSize;
  std::string ownerClass, routine, lastClass, name;
  bool routineSet = false;

  auto found = [&](uint64_t start, uint64_t size) {
    if (visit) visit({start, size, line, ownerClass, routine});
    if (target && *target >= start && *target - start < size) {
      if (hit) {
        hit->OwnerClass = ownerClass;
        hit->Routine = routine;
        hit->LineNo = uint32_t(line);
      }
      return true;
    }
    return false;
  };

  while (!r.atEnd()) {
    if (target && *target < address) return false;
    uint8_t b = r.u8();
    bool hasName;
    int lineStep;
    uint32_t addressStep;
    if ((b & 1) == 0) {
      hasName = false;
      lineStep = (b >> 6) + 1;
      addressStep = ((b >> 1) & 31) + 1;
    } else if ((b & 3) == 1) {
      hasName = true;
      lineStep = (b >> 5) + 1;
      addressStep = ((b >> 2) & 7) + 1;
    } else {
      hasName = (b & 4) != 0;
      if ((b & 8) == 0) {
        uint16_t w = uint16_t(b | (r.u8() << 8));
        lineStep = (w >> 11) + 1;
        addressStep = ((w >> 4) & 127) + 1;
      } else {
        uint32_t d = b | (uint32_t(r.u8()) << 8) | (uint32_t(r.u8()) << 16) | (uint32_t(r.u8()) << 24);
        uint32_t x = d >> 4;
        if (x == 0x0FFEFFFE && version >= 423) {
          lineStep = int16_t(uint16_t(r.u16() + 1));
          addressStep = uint32_t(r.u16()) + 1;
        } else {
          lineStep = int16_t(uint16_t((x & 0xFFFF) + 1));
          uint32_t a = x >> 16;
          addressStep = a == 0xFFF ? 0 : a + 1;
        }
      }
    }
    // The name follows the entry's numbers.
    if (hasName && !ReadCrashShortString(r, name)) break;
    if (!r.ok()) break;  // an entry cut off by the table's end is not used
    if (hasName) {
      std::string_view n = name;
      if (!n.empty() && n[0] == '.') {
        ownerClass = lastClass;
        n.remove_prefix(1);
      } else if (size_t dot = n.find('.'); dot != std::string_view::npos) {
        ownerClass = std::string(n.substr(0, dot));
        n.remove_prefix(dot + 1);
      } else {
        ownerClass.clear();
      }
      name = std::string(n);
      if (!name.empty() && name[0] == '@') name[0] = '_';
      if (!ownerClass.empty()) lastClass = ownerClass;
      if (!routineSet) {
        routine = name;
        routineSet = true;
      }
    }
    if (found(address, addressStep)) return true;
    line += lineStep;
    address += addressStep;
    if (hasName) routine = name;
    // Entries that run past the unit's end cannot describe anything more.
    if (address > unitEnd) return false;
  }
  if (address < unitEnd) return found(address, unitEnd - address);
  return false;
}

bool TCrashDebugData::Open(std::vector<uint8_t> data, uint16_t version) {
  FData = std::move(data);
  FVersion = version;
  FOpen = false;
  FUnits.clear();
  FByStart.clear();
  FSymbolsOffset = FSymbolsSize = FSymbolCount = 0;
  TByteReader r(FData.data(), FData.size());
  if (version >= 405) {
    uint32_t length = r.u32();
    FSymbolsOffset = r.position();
    if (!r.skip(length)) return false;
    FSymbolsSize = length;
    ForEachSymbol([this](const std::string&, uint32_t) { ++FSymbolCount; });
  }
  uint32_t count = r.u32();
  // A unit takes at least 21 bytes: a count beyond that is a lie.
  if (!r.ok() || count > r.left() / 21) return false;
  FUnits.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    TUnit u;
    if (!ReadCrashShortString(r, u.Name)) return false;
    u.FirstLine = r.u32();
    u.Start = r.u32();
    u.Size = r.u32();
    uint32_t length = r.u32();
    u.TableOffset = r.position();
    u.TableSize = length;
    if (!r.skip(length)) return false;
    FUnits.push_back(std::move(u));
  }
  FByStart.resize(FUnits.size());
  for (uint32_t i = 0; i < FByStart.size(); ++i) FByStart[i] = i;
  std::stable_sort(FByStart.begin(), FByStart.end(),
                   [this](uint32_t a, uint32_t b) { return FUnits[a].Start < FUnits[b].Start; });
  FOverlapping = false;
  for (size_t i = 1; i < FByStart.size(); ++i) {
    const TUnit& prev = FUnits[FByStart[i - 1]];
    if (uint64_t(prev.Start) + prev.Size > FUnits[FByStart[i]].Start) FOverlapping = true;
  }
  FOpen = true;
  return true;
}

std::string_view TCrashDebugData::Table(const TUnit& u) const {
  return {reinterpret_cast<const char*>(FData.data()) + u.TableOffset, u.TableSize};
}

bool TCrashDebugData::Lookup(uint64_t rel, TCrashLineHit& hit) const {
  if (!FOpen) return false;
  auto contains = [rel](const TUnit& u) { return rel >= u.Start && rel - u.Start < u.Size; };
  const TUnit* unit = nullptr;
  if (FOverlapping) {
    // Units searched in stored order, as the data lists them.
    for (const TUnit& u : FUnits)
      if (contains(u)) {
        unit = &u;
        break;
      }
  } else {
    auto it = std::upper_bound(FByStart.begin(), FByStart.end(), rel,
                               [this](uint64_t a, uint32_t i) { return a < FUnits[i].Start; });
    if (it != FByStart.begin() && contains(FUnits[*(it - 1)])) unit = &FUnits[*(it - 1)];
  }
  if (!unit) return false;
  if (!DecodeCrashLineTable(Table(*unit), FVersion, unit->Start, unit->Size, unit->FirstLine, rel, &hit))
    return false;
  hit.UnitFile = unit->Name;
  return true;
}

void TCrashDebugData::ForEachSymbol(const std::function<void(const std::string&, uint32_t)>& fn) const {
  TByteReader r(FData.data() + FSymbolsOffset, FSymbolsSize);
  std::string name;
  while (!r.atEnd()) {
    if (!ReadCrashShortString(r, name)) return;
    uint32_t address = r.u32();
    r.u32();  // not used
    if (!r.ok()) return;
    fn(name, address);
  }
}

std::optional<uint32_t> TCrashDebugData::FindRoutine(std::string_view wanted) const {
  if (!FOpen) return std::nullopt;
  TByteReader r(FData.data() + FSymbolsOffset, FSymbolsSize);
  std::string name;
  while (!r.atEnd()) {
    if (!ReadCrashShortString(r, name)) break;
    uint32_t address = r.u32();
    r.u32();
    if (!r.ok()) break;
    if (name == wanted) return address;
  }
  return std::nullopt;
}

} // namespace rasp
