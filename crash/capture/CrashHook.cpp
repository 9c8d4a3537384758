#include "crash/capture/CrashHook.h"

#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

namespace rasp {

namespace {
struct TSearch {
  const std::function<bool(const std::string&)>* Wanted;
  const char* Routine;
  bool AlsoDefining = false;
  std::vector<std::pair<uintptr_t*, bool>> Slots;  // slot, read-only after relocation
  uintptr_t RelroStart = 0, RelroEnd = 0;
};

uintptr_t Absolute(uintptr_t value, uintptr_t bias) {
  // The loader usually relocates the dynamic section's pointers in place;
  // where it did not, they are still file addresses.
  return bias && value < bias ? value + bias : value;
}

void ScanRelocations(const ElfW(Rela)* rela, size_t bytes, const ElfW(Sym)* symtab, const char* strtab,
                     uintptr_t bias, TSearch& s) {
  if (!rela || !symtab || !strtab) return;
  for (size_t i = 0; i < bytes / sizeof(ElfW(Rela)); ++i) {
    unsigned type = ELF64_R_TYPE(rela[i].r_info);
    if (type != R_X86_64_JUMP_SLOT && type != R_X86_64_GLOB_DAT) continue;
    const ElfW(Sym)& sym = symtab[ELF64_R_SYM(rela[i].r_info)];
    if (std::strcmp(strtab + sym.st_name, s.Routine) != 0) continue;
    if (sym.st_shndx != SHN_UNDEF && !s.AlsoDefining) continue;
    uintptr_t at = bias + rela[i].r_offset;
    s.Slots.push_back({reinterpret_cast<uintptr_t*>(at), at >= s.RelroStart && at < s.RelroEnd});
  }
}

int VisitModule(dl_phdr_info* info, size_t, void* data) {
  TSearch& s = *static_cast<TSearch*>(data);
  std::string name = info->dlpi_name ? info->dlpi_name : "";
  if (name.empty()) {
    char exe[4096];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n > 0) name.assign(exe, size_t(n));
    else return 0;
  }
  if (!(*s.Wanted)(name)) return 0;
  const ElfW(Dyn)* dyn = nullptr;
  s.RelroStart = s.RelroEnd = 0;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& ph = info->dlpi_phdr[i];
    if (ph.p_type == PT_DYNAMIC) dyn = reinterpret_cast<const ElfW(Dyn)*>(info->dlpi_addr + ph.p_vaddr);
    if (ph.p_type == PT_GNU_RELRO) {
      s.RelroStart = info->dlpi_addr + ph.p_vaddr;
      s.RelroEnd = s.RelroStart + ph.p_memsz;
    }
  }
  if (!dyn) return 0;
  uintptr_t bias = info->dlpi_addr;
  const ElfW(Sym)* symtab = nullptr;
  const char* strtab = nullptr;
  const ElfW(Rela)* jmprel = nullptr;
  const ElfW(Rela)* rela = nullptr;
  size_t jmpSize = 0, relaSize = 0;
  for (const ElfW(Dyn)* d = dyn; d->d_tag != DT_NULL; ++d) {
    switch (d->d_tag) {
      case DT_SYMTAB: symtab = reinterpret_cast<const ElfW(Sym)*>(Absolute(d->d_un.d_ptr, bias)); break;
      case DT_STRTAB: strtab = reinterpret_cast<const char*>(Absolute(d->d_un.d_ptr, bias)); break;
      case DT_JMPREL: jmprel = reinterpret_cast<const ElfW(Rela)*>(Absolute(d->d_un.d_ptr, bias)); break;
      case DT_PLTRELSZ: jmpSize = d->d_un.d_val; break;
      case DT_RELA: rela = reinterpret_cast<const ElfW(Rela)*>(Absolute(d->d_un.d_ptr, bias)); break;
      case DT_RELASZ: relaSize = d->d_un.d_val; break;
      default: break;
    }
  }
  ScanRelocations(jmprel, jmpSize, symtab, strtab, bias, s);
  ScanRelocations(rela, relaSize, symtab, strtab, bias, s);
  return 0;
}
} // namespace

bool CrashWriteSlot(uintptr_t* slot, uintptr_t value, bool readOnly) {
  if (!readOnly) {
    __atomic_store_n(slot, value, __ATOMIC_SEQ_CST);
    return true;
  }
  long page = sysconf(_SC_PAGESIZE);
  uintptr_t start = reinterpret_cast<uintptr_t>(slot) & ~uintptr_t(page - 1);
  if (mprotect(reinterpret_cast<void*>(start), size_t(page), PROT_READ | PROT_WRITE) != 0) return false;
  __atomic_store_n(slot, value, __ATOMIC_SEQ_CST);
  mprotect(reinterpret_cast<void*>(start), size_t(page), PROT_READ);
  return true;
}

uintptr_t TCrashImportHooks::HookImport(const std::function<bool(const std::string&)>& wanted, const char* routine,
                                        uintptr_t replacement, bool alsoDefining) {
  void* real = dlsym(RTLD_DEFAULT, routine);
  if (!real) throw EProcNull(routine);
  TSearch s{&wanted, routine, alsoDefining, {}};
  dl_iterate_phdr(VisitModule, &s);
  for (auto [slot, readOnly] : s.Slots) {
    uintptr_t previous = __atomic_load_n(slot, __ATOMIC_SEQ_CST);
    if (previous == replacement) continue;
    if (CrashWriteSlot(slot, replacement, readOnly)) FSlots.push_back({slot, previous, readOnly});
  }
  return reinterpret_cast<uintptr_t>(real);
}

void TCrashImportHooks::RestoreAll() {
  for (auto it = FSlots.rbegin(); it != FSlots.rend(); ++it) CrashWriteSlot(it->Slot, it->Previous, it->ReadOnly);
  FSlots.clear();
}

} // namespace rasp
