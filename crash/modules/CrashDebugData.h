#pragma once
// The debug data of a module's data block: a symbol section (data version
// 405 and later) and one line table per unit. Little-endian; names are short
// strings (a length byte, then key-XORed characters).
//
// Addresses in it are relative: on this platform a relative address is the
// address in the ELF file's virtual address space, so the run-time address is
// the module's load bias plus the relative address (for a position-
// independent executable the load bias is where the loader put it, for a
// fixed-address executable it is 0).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rasp {

struct TCrashLineHit {
  std::string UnitFile;
  std::string OwnerClass;
  std::string Routine;
  uint32_t LineNo = 0;
};

// One range of a line table as the decoder sees it (for the build tool's
// dump and for tests).
struct TCrashLineRange {
  uint64_t Start = 0;
  uint64_t Size = 0;
  int64_t Line = 0;
  std::string OwnerClass;
  std::string Routine;
};

// Decodes one unit's line table. With a target it stops at the range that
// holds it and returns true; with `visit` it reports every range. Decoding
// never reads outside `table` and ends at its end or once the target lies
// behind the current address.
bool DecodeCrashLineTable(std::string_view table, uint16_t dataVersion, uint64_t unitStart, uint64_t unitSize,
                          uint32_t firstLine, std::optional<uint64_t> target, TCrashLineHit* hit,
                          const std::function<void(const TCrashLineRange&)>& visit = {});

class TCrashDebugData {
public:
  // Checks the structure of the whole data once: every length must fit in
  // what is left. False for damaged data, which is then not used at all.
  bool Open(std::vector<uint8_t> data, uint16_t dataVersion);

  bool IsOpen() const { return FOpen; }
  size_t Size() const { return FData.size(); }
  size_t UnitCount() const { return FUnits.size(); }
  size_t SymbolCount() const { return FSymbolCount; }
  uint16_t DataVersion() const { return FVersion; }

  // The unit, class, routine and line of a relative address.
  bool Lookup(uint64_t relative, TCrashLineHit& hit) const;
  // The relative address of the first symbol whose name equals `name`.
  std::optional<uint32_t> FindRoutine(std::string_view name) const;

  struct TUnit {
    std::string Name;
    uint32_t FirstLine = 0;
    uint32_t Start = 0;
    uint32_t Size = 0;
    size_t TableOffset = 0;
    size_t TableSize = 0;
  };
  const std::vector<TUnit>& Units() const { return FUnits; }
  std::string_view Table(const TUnit& u) const;
  void ForEachSymbol(const std::function<void(const std::string&, uint32_t)>& fn) const;

private:
  std::vector<uint8_t> FData;
  uint16_t FVersion = 0;
  bool FOpen = false;
  size_t FSymbolsOffset = 0, FSymbolsSize = 0, FSymbolCount = 0;
  std::vector<TUnit> FUnits;        // in stored order
  std::vector<uint32_t> FByStart;   // unit indices sorted by start
  bool FOverlapping = false;
};

// Reads a short string of the debug data; false when it does not fit.
bool ReadCrashShortString(class TByteReader& r, std::string& out);

} // namespace rasp
