#pragma once
// Reads a linked binary's DWARF (through elfutils' libdw) and turns it into
// the units, rows and symbols of the crash data block.
#include "tools/crashblock/CrashDebugWriter.h"

#include <string>
#include <vector>

namespace rasp {

struct TCrashDebugSource {
  std::vector<TCrashUnitSource> Units;
  std::vector<TCrashSymbolSource> Symbols;
  size_t Functions = 0;
};

// Units are runs of functions defined in one source file that follow each
// other in the code (padding between them allowed); a unit's lines are lines
// of that file (code inlined from elsewhere keeps the line of the code it
// was inlined into). False with a message when the file has no usable DWARF.
bool CollectCrashDebugSource(const std::string& binary, TCrashDebugSource& out, std::string& error);

} // namespace rasp
