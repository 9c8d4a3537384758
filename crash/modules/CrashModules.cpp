#include "crash/modules/CrashModules.h"

#include "crash/modules/CrashElf.h"
#include "crash/modules/CrashNames.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

#ifndef RASP_CRASH_PROGRAM_VERSION
#define RASP_CRASH_PROGRAM_VERSION ""
#endif

namespace rasp {

bool TCrashModuleInfo::Contains(uintptr_t a) const {
  for (const TCrashAddressRange& s : Segments)
    if (s.Contains(a)) return true;
  return false;
}

namespace {
// False without a block; a block that is there but damaged also fills `why`.
bool ReadBlockFromImage(const TElfImage& image, uint64_t fileSize, const TElfRead& read,
                        TCrashModuleOptions& options, TCrashBlock& block, std::string* why = nullptr) {
  if (const TElfSection* s = image.FindSection(CrashBlockSection)) {
    auto data = image.SectionData(*s);
    if (!data) {
      if (why) *why = "its section lies outside the file";
      return false;
    }
    return ReadCrashBlock(*data, options, block, why);
  }
  // The older form: a block appended to the file, its size and the magic last.
  if (fileSize < 8) return false;
  std::string tail(8, '\0');
  uint64_t offset = 0, size = 0;
  if (!read(fileSize - 8, 8, tail.data()) || !LocateAppendedCrashBlock(tail, fileSize, offset, size)) return false;
  std::string body(size_t(size), '\0');
  if (!read(offset, size_t(size), body.data())) {
    if (why) *why = "the appended block cannot be read";
    return false;
  }
  return ReadAppendedCrashBlock(body, options, block, why);
}

// Whether the file on disk is still the image the loader mapped: the build
// ids must agree, or without build ids the program header tables.
bool SameImage(const TCrashLoadedModule& m, const TElfImage& file) {
  if (!m.BuildId.empty()) return file.BuildId() == m.BuildId;
  std::string ph = file.ProgramHeaders();
  return !ph.empty() && ph == m.ProgramHeaders;
}
} // namespace

bool ReadModuleDataBlock(const std::string& fileName, TCrashModuleOptions& options, TCrashBlock& block) {
  uint64_t size = 0;
  TElfRead read;
  if (!TElfImage::FileReader(fileName, size, read)) return false;
  TElfImage image;
  image.Open(size, read);  // a file that is no ELF file may still carry the appended form
  return ReadBlockFromImage(image, size, read, options, block);
}

TCrashModulePtr TCrashModulesList::BuildRecord(const TCrashLoadedModule& m, bool light) {
  auto rec = std::make_shared<TCrashModuleInfo>();
  rec->Handle = m.Handle;
  rec->LoadBias = m.LoadBias;
  rec->FileName = m.FileName;
  rec->IsMain = m.IsMain;
  rec->BuildId = m.BuildId;
  rec->Segments = m.Segments;
  rec->CodeSegments = m.CodeSegments;
  struct stat st{};
  if (stat(m.FileName.c_str(), &st) == 0) rec->FileSize = uint32_t(st.st_size);
  rec->FileDate = CrashFileDate(m.FileName);
  if (m.IsMain) rec->Version = RASP_CRASH_PROGRAM_VERSION;
  rec->Options = std::make_unique<TCrashModuleOptionsEx>(m.FileName, true);
  if (light) return rec;

  rec->ModuleKind = m.IsMain ? mkExecutable : mkLibrary;
  TElfImage image;
  // A file that vanished or was replaced since it was loaded tells nothing
  // true about the image in memory.
  if (!image.OpenFile(m.FileName) || !SameImage(m, image)) return rec;

  image.ForEachFunction([&](const TElfSymbol& s) {
    rec->Functions.push_back({std::string(s.Name), uintptr_t(m.LoadBias + s.Value), uint32_t(s.Size)});
  });
  std::stable_sort(rec->Functions.begin(), rec->Functions.end(),
                   [](const TCrashFunctionInfo& a, const TCrashFunctionInfo& b) { return a.Address < b.Address; });
  // .symtab and .dynsym list many routines twice.
  rec->Functions.erase(std::unique(rec->Functions.begin(), rec->Functions.end(),
                                   [](const TCrashFunctionInfo& a, const TCrashFunctionInfo& b) {
                                     return a.Address == b.Address && a.Name == b.Name;
                                   }),
                       rec->Functions.end());

  TCrashBlock block;
  if (ReadBlockFromImage(image, image.FileSize(), image.Reader(), *rec->Options, block, &rec->BlockDamage)) {
    auto debug = std::make_unique<TCrashDebugData>();
    if (debug->Open(std::move(block.DebugData), block.DataVersion)) {
      rec->DataVersion = block.DataVersion;
      rec->HeaderValues = block.HeaderValues;
      rec->DebugData = std::move(debug);
    } else {
      rec->Options->SetDefaults();  // damaged debug data: not instrumented
      rec->BlockDamage = "its debug data does not hold together";
    }
  }
  // Changes another module published at run time win over its built-in block.
  if (!IsRunningModuleName(m.FileName))
    if (auto published = ReadCrashOptionsSection(m.Handle); published && !published->empty() && (*published)[0]) {
      TByteReader r(published->data() + 1, published->size() - 1);
      rec->Options->LoadFromStream(r, CrashDataVersion);
    }
  return rec;
}

TCrashModulesList::~TCrashModulesList() {
  for (const TCrashModulePtr& r : FRecords)
    if (r->ModuleKind != mkLight && IsRunningModuleName(r->FileName)) {
      DeleteCrashOptionsSection(CrashRunningModule().Handle);
      break;
    }
}

TCrashModulePtr TCrashModulesList::Find(uintptr_t handle) const {
  for (const TCrashModulePtr& r : FRecords)
    if (r->Handle == handle) return r;
  return nullptr;
}

void TCrashModulesList::Put(TCrashModulePtr record) {
  for (TCrashModulePtr& r : FRecords)
    if (r->Handle == record->Handle) {
      r = std::move(record);
      return;
    }
  FRecords.push_back(std::move(record));
}

TCrashModulePtr TCrashModulesList::ModuleRecord(uintptr_t handle) {
  if (TCrashModulePtr r = Find(handle); r && r->ModuleKind != mkLight) return r;
  for (const TCrashLoadedModule& m : CrashLoadedModules())
    if (m.Handle == handle) {
      TCrashModulePtr rec = BuildRecord(m, false);
      Put(rec);
      return rec;
    }
  return nullptr;
}

TCrashModulePtr TCrashModulesList::ModuleRecordOf(uintptr_t address) {
  for (const TCrashModulePtr& r : FRecords)
    if (r->Contains(address)) return r->ModuleKind != mkLight ? r : ModuleRecord(r->Handle);
  for (const TCrashLoadedModule& m : CrashLoadedModules())
    if (m.Contains(address)) {
      TCrashModulePtr rec = BuildRecord(m, false);
      Put(rec);
      return rec;
    }
  return nullptr;
}

void TCrashModulesList::RefreshModuleList() {
  std::vector<TCrashLoadedModule> loaded = CrashLoadedModules();
  std::erase_if(FRecords, [&](const TCrashModulePtr& r) {
    bool stillLoaded = std::any_of(loaded.begin(), loaded.end(),
                                   [&](const TCrashLoadedModule& m) { return m.Handle == r->Handle; });
    return !stillLoaded || access(r->FileName.c_str(), R_OK) != 0;
  });
  for (const TCrashLoadedModule& m : loaded)
    if (!Find(m.Handle)) FRecords.push_back(BuildRecord(m, true));
  std::sort(FRecords.begin(), FRecords.end(),
            [](const TCrashModulePtr& a, const TCrashModulePtr& b) { return a->Handle < b->Handle; });
}

void TCrashModulesList::DropChangedModules() {
  std::erase_if(FRecords, [](const TCrashModulePtr& r) { return r->FileDate != CrashFileDate(r->FileName); });
}

TCrashDebugInfo TCrashModulesList::ResolveAddress(uintptr_t address) {
  TCrashDebugInfo info;
  info.Address = address;
  TCrashModulePtr rec = ModuleRecordOf(address);
  if (!rec) return info;
  info.Module = rec;
  TCrashLineHit hit;
  if (rec->HasDebugData() && rec->DebugData->Lookup(uint64_t(address - rec->LoadBias), hit)) {
    info.Detail = 4;
    info.UnitFile = std::move(hit.UnitFile);
    info.OwnerClass = std::move(hit.OwnerClass);
    info.Routine = std::move(hit.Routine);
    info.LineNo = hit.LineNo;
    return info;
  }
  info.Detail = 1;
  const TCrashFunctionsList& fns = rec->Functions;
  auto it = std::upper_bound(fns.begin(), fns.end(), address,
                             [](uintptr_t a, const TCrashFunctionInfo& f) { return a < f.Address; });
  if (it == fns.begin()) return info;
  const TCrashFunctionInfo& f = *(it - 1);
  if (address > f.Address + f.Size) return info;
  TCrashNameParts parts = SplitExportedName(f.Name);
  if (parts.Detail == 0) {
    parts.Detail = 2;
    parts.Routine = f.Name;
  }
  info.Detail = uint8_t(parts.Detail);
  info.UnitFile = std::move(parts.UnitFile);
  info.OwnerClass = std::move(parts.OwnerClass);
  info.Routine = std::move(parts.Routine);
  return info;
}

std::optional<uintptr_t> TCrashModulesList::FindRoutine(const std::string& qualifiedName) {
  TCrashModulePtr rec = RunningModuleRecord();
  if (!rec || !rec->HasDebugData()) return std::nullopt;
  if (auto rel = rec->DebugData->FindRoutine(qualifiedName)) return rec->LoadBias + *rel;
  return std::nullopt;
}

TCrashModuleOptionsEx& CurrentCrashwiseOptions(TCrashModulesList* modules) {
  TCrashModulePtr running = modules ? modules->RunningModuleRecord() : nullptr;
  if (!running) throw std::logic_error("Cannot use 'CurrentCrashwiseOptions' function without Crashwise activate.");
  return *running->Options;
}

void SelectCurrentOptions(TCrashModulesList& modules, uintptr_t address, TCrashModuleOptionsEx& current) {
  TCrashModulePtr chosen = modules.ModuleRecordOf(address);
  if (!chosen || !chosen->HasDebugData()) {
    TCrashModulePtr running = modules.RunningModuleRecord();
    if (running && running->HasDebugData()) {
      chosen = running;
    } else {
      TCrashModulePtr main;
      for (const TCrashLoadedModule& m : CrashLoadedModules())
        if (m.IsMain) main = modules.ModuleRecord(m.Handle);
      if (main && main != running) chosen = main;
      else if (running) chosen = running;
    }
  }
  if (!chosen) return;
  current.Assign(chosen->Options.get());
  current.SetModuleName(chosen->FileName);
}

} // namespace rasp
