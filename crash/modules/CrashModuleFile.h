#pragma once
// What the loader and the file system say about the modules of the process:
// the loaded images (dl_iterate_phdr), their files mapped read-only, and the
// file dates the module list compares.
//
// Addresses: a module's `Handle` is the lowest address of its loaded image;
// its `LoadBias` is what the loader added to every address of the ELF file,
// so run-time address = LoadBias + address in the file's virtual address
// space. The debug data stores these file (virtual) addresses.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace rasp {

struct TCrashAddressRange {
  uintptr_t Start = 0;  // inclusive
  uintptr_t End = 0;    // exclusive
  bool Contains(uintptr_t a) const { return a >= Start && a < End; }
};

struct TCrashLoadedModule {
  uintptr_t Handle = 0;
  uintptr_t LoadBias = 0;
  std::string FileName;
  bool IsMain = false;
  std::vector<TCrashAddressRange> Segments;      // every loaded segment
  std::vector<TCrashAddressRange> CodeSegments;  // the executable ones
  std::string BuildId;         // from the loaded image's notes
  std::string ProgramHeaders;  // the loaded image's program header table
  bool Contains(uintptr_t a) const;
};

// Every module the loader has mapped, the main program first. Modules without
// a file (the vDSO) are left out.
std::vector<TCrashLoadedModule> CrashLoadedModules();

// The module that holds the reporter's code, found once.
const TCrashLoadedModule& CrashRunningModule();

// The last write time of a file in local time, to the two seconds of a DOS
// time stamp; 0 when the file cannot be found.
int64_t CrashFileDate(const std::string& fileName);

} // namespace rasp
