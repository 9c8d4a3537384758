#pragma once
// Writes the debug data of a module's data block (the format the reporter's
// decoder reads): a symbol section and one line table per unit.
#include <cstdint>
#include <string>
#include <vector>

namespace rasp {

// One row of a unit: from Address on (up to the next row or the unit's end)
// the code belongs to Line; a non-empty Name starts a routine there
// ("Class.Routine" or "Routine").
struct TCrashRow {
  uint64_t Address = 0;
  int64_t Line = 0;
  std::string Name;
};

struct TCrashUnitSource {
  std::string Name;  // the source file, e.g. "MainWindow.cpp"
  uint64_t Start = 0;
  uint64_t Size = 0;
  std::vector<TCrashRow> Rows;  // ascending addresses, the first at Start
};

struct TCrashSymbolSource {
  std::string Name;  // qualified, e.g. "rasp::TMainWindow::btnCompareExClick"
  uint64_t Address = 0;
};

// The line table of one unit. Every entry takes the shortest form that holds
// its steps; a routine starts with an entry of no length that carries its
// name.
std::vector<uint8_t> EncodeCrashLineTable(const TCrashUnitSource& unit);

std::vector<uint8_t> WriteCrashDebugData(const std::vector<TCrashSymbolSource>& symbols,
                                         const std::vector<TCrashUnitSource>& units);

// Writes one entry (for tests that build tables by hand): line step,
// address step (0 .. 65536), and an optional name.
void EncodeCrashLineEntry(std::vector<uint8_t>& out, int lineStep, uint32_t addressStep, const std::string* name);

} // namespace rasp
