#include "crash/modules/CrashModuleFile.h"

#include "crash/modules/CrashElf.h"
#include "crash/modules/CrashImmortal.h"

#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <ctime>

namespace rasp {

bool TCrashLoadedModule::Contains(uintptr_t a) const {
  for (const TCrashAddressRange& s : Segments)
    if (s.Contains(a)) return true;
  return false;
}

namespace {
std::string ExecutableFileName() {
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  std::string name(buf, size_t(n));
  // A program whose file was replaced or removed while it runs.
  const std::string deleted = " (deleted)";
  if (name.size() > deleted.size() && name.compare(name.size() - deleted.size(), deleted.size(), deleted) == 0)
    name.erase(name.size() - deleted.size());
  return name;
}

struct TCollect {
  std::vector<TCrashLoadedModule> Modules;
  int Seen = 0;
};

int Collect(dl_phdr_info* info, size_t, void* arg) {
  auto& collect = *static_cast<TCollect*>(arg);
  auto& out = collect.Modules;
  TCrashLoadedModule m;
  // The loader reports the main program first, without a name.
  m.IsMain = collect.Seen++ == 0 && (!info->dlpi_name || !*info->dlpi_name);
  m.FileName = m.IsMain ? ExecutableFileName() : std::string(info->dlpi_name ? info->dlpi_name : "");
  if (m.FileName.empty() || m.FileName[0] != '/') return 0;
  m.LoadBias = info->dlpi_addr;
  uintptr_t low = UINTPTR_MAX;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& p = info->dlpi_phdr[i];
    if (p.p_type == PT_LOAD) {
      TCrashAddressRange r{info->dlpi_addr + p.p_vaddr, info->dlpi_addr + p.p_vaddr + p.p_memsz};
      low = std::min(low, r.Start);
      m.Segments.push_back(r);
      if (p.p_flags & PF_X) m.CodeSegments.push_back(r);
    } else if (p.p_type == PT_NOTE && m.BuildId.empty()) {
      // Notes lie inside a loaded segment, so they are readable.
      std::string_view notes(reinterpret_cast<const char*>(info->dlpi_addr + p.p_vaddr), p.p_memsz);
      m.BuildId = std::string(FindBuildIdNote(notes));
    }
  }
  if (m.Segments.empty()) return 0;
  m.Handle = low;
  m.ProgramHeaders.assign(reinterpret_cast<const char*>(info->dlpi_phdr), info->dlpi_phnum * sizeof(ElfW(Phdr)));
  out.push_back(std::move(m));
  return 0;
}

void Anchor() {}
} // namespace

std::vector<TCrashLoadedModule> CrashLoadedModules() {
  TCollect collect;
  dl_iterate_phdr(Collect, &collect);
  return std::move(collect.Modules);
}

const TCrashLoadedModule& CrashRunningModule() {
  struct TRunning {
    TCrashLoadedModule Module = [] {
      auto here = reinterpret_cast<uintptr_t>(&Anchor);
      for (TCrashLoadedModule& m : CrashLoadedModules())
        if (m.Contains(here)) return m;
      return TCrashLoadedModule{};
    }();
  };
  return CrashImmortal<TRunning>().Module;
}

static int64_t LocalDosTime(time_t t) {
  tm local{};
  if (!localtime_r(&t, &local)) return 0;
  int64_t seconds = int64_t(timegm(&local));
  return seconds - (seconds % 2 + 2) % 2;
}

int64_t CrashFileDate(const std::string& fileName) {
  struct stat st{};
  if (fileName.empty() || stat(fileName.c_str(), &st) != 0) return 0;
  return LocalDosTime(st.st_mtime);
}

} // namespace rasp
