#pragma once
// The module records of the process and what is resolved through them: the
// module of an address, its unit, class, routine and line, and the call
// stack found by a raw scan of a thread's stack.
#include "crash/modules/CrashDataBlock.h"
#include "crash/modules/CrashDebugData.h"
#include "crash/modules/CrashModuleFile.h"
#include "crash/modules/CrashOptionsEx.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rasp {

struct TCrashFunctionInfo {
  std::string Name;     // as the symbol table holds it (mangled)
  uintptr_t Address = 0;
  uint32_t Size = 0;
};
using TCrashFunctionsList = std::vector<TCrashFunctionInfo>;

enum TCrashModuleKind : uint8_t {
  mkLight = 0,       // not analysed (found by enumeration)
  mkExecutable = 1,
  mkPackage = 2,     // not used on this platform
  mkLibrary = 3,
};

struct TCrashModuleInfo {
  uintptr_t Handle = 0;    // lowest address of the loaded image
  uintptr_t LoadBias = 0;  // run-time address - address in the ELF file
  std::string FileName;
  int64_t FileDate = 0;    // local time, DOS precision; 0 = file not found
  std::string Description;
  std::string Version;
  uint32_t FileSize = 0;
  TCrashFunctionsList Functions;  // sorted by address
  uint8_t ModuleKind = mkLight;
  uint16_t DataVersion = CrashDataVersion;
  std::array<uint32_t, 2> HeaderValues{0, 0};
  std::unique_ptr<TCrashModuleOptionsEx> Options;
  std::unique_ptr<TCrashDebugData> DebugData;  // none without a block
  std::vector<TCrashAddressRange> Segments;
  std::vector<TCrashAddressRange> CodeSegments;
  bool IsMain = false;
  std::string BuildId;      // the GNU build id of the loaded image, as bytes
  std::string BlockDamage;  // why the module's data block could not be read; empty: fine or none

  bool Contains(uintptr_t address) const;
  // Address in the module's ELF file (what separate debug files and
  // eu-addr2line take): the same for every run of the same build.
  uintptr_t FileAddress(uintptr_t address) const { return address - LoadBias; }
  bool HasDebugData() const { return DebugData && DebugData->IsOpen(); }
};
using TCrashModulePtr = std::shared_ptr<TCrashModuleInfo>;

struct TCrashDebugInfo {
  uint8_t Detail = 0;  // 0 nothing, 1 module, 2 routine, 3 class and routine, 4 line
  TCrashModulePtr Module;
  uintptr_t Address = 0;
  std::string UnitFile;
  std::string OwnerClass;
  std::string Routine;
  uint32_t LineNo = 0;
};

class TCrashStackList {
public:
  void Add(const TCrashDebugInfo& info) { FItems.push_back(info); }
  int Count() const { return int(FItems.size()); }
  const TCrashDebugInfo& operator[](int i) const { return FItems[size_t(i)]; }
  const std::vector<TCrashDebugInfo>& Items() const { return FItems; }

private:
  std::vector<TCrashDebugInfo> FItems;
};

class TCrashModulesList {
public:
  TCrashModulesList() = default;
  // Loading the running module's block publishes its options; the section
  // goes with the list.
  ~TCrashModulesList();
  TCrashModulesList(const TCrashModulesList&) = delete;
  TCrashModulesList& operator=(const TCrashModulesList&) = delete;
  // The record of the module whose image starts at `handle`; built on first
  // use, rebuilt in full when it is a light one. None for an invalid handle.
  TCrashModulePtr ModuleRecord(uintptr_t handle);
  // The record of the module that holds `address`, or none.
  TCrashModulePtr ModuleRecordOf(uintptr_t address);
  // Drops records of modules gone or unreadable, adds light records for
  // every other loaded module, sorts by handle.
  void RefreshModuleList();
  // Drops every record whose file date differs from the file's date now.
  void DropChangedModules();

  TCrashDebugInfo ResolveAddress(uintptr_t address);
  // Entries for the return addresses found between stackPointer and
  // stackTop (at most 1 MiB of it), the exception address first.
  TCrashStackList BuildCallStack(std::optional<uintptr_t> exceptionAddress, uintptr_t stackPointer,
                                 uintptr_t stackTop);
  // The address of a routine of the running module by its qualified name.
  std::optional<uintptr_t> FindRoutine(const std::string& qualifiedName);

  const std::vector<TCrashModulePtr>& Records() const { return FRecords; }
  TCrashModulePtr RunningModuleRecord() { return ModuleRecord(CrashRunningModule().Handle); }

  // Builds a full record for a loaded module (exposed for tests that hand
  // in a module whose file was replaced).
  static TCrashModulePtr BuildRecord(const TCrashLoadedModule& module, bool light);

private:
  TCrashModulePtr Find(uintptr_t handle) const;
  void Put(TCrashModulePtr record);
  std::vector<TCrashModulePtr> FRecords;
};

// Loads a module file's data block (the .cwdata section, else the appended
// form) into options and block. False when it has none or it is damaged.
bool ReadModuleDataBlock(const std::string& fileName, TCrashModuleOptions& options, TCrashBlock& block);

// The options of the running module. Without a module list (the reporter
// is inactive) or a record of the running module it fails with
// std::logic_error "Cannot use 'CurrentCrashwiseOptions' function without
// Crashwise activate.".
TCrashModuleOptionsEx& CurrentCrashwiseOptions(TCrashModulesList* modules);

// Chooses the module whose options a report uses for an exception at
// `address` and copies them into `current` (see the report start).
void SelectCurrentOptions(TCrashModulesList& modules, uintptr_t address, TCrashModuleOptionsEx& current);

} // namespace rasp
