#pragma once
// Redirecting a routine's import slots: the GOT entries through which a
// module's PLT (or a -fno-plt call, or a taken address) reaches a routine of
// another module, found through the module's dynamic relocations.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace rasp {

class EProcNull : public std::exception {
public:
  explicit EProcNull(std::string name) : FText("Cannot hook a null procedure (\"" + name + "\").") {}
  const char* what() const noexcept override { return FText.c_str(); }

private:
  std::string FText;
};

struct TCrashImportSlot {
  uintptr_t* Slot = nullptr;
  uintptr_t Previous = 0;
  bool ReadOnly = false;
};

class TCrashImportHooks {
public:
  ~TCrashImportHooks() { RestoreAll(); }
  // Points every import slot of `routine` in the modules accepted by
  // `wanted` (given a module's file name) at `replacement`. Returns the
  // routine's own address as the process resolves it, which the
  // replacement calls from then on. A routine that does not exist throws
  // EProcNull; finding no slot is not an error. A module that defines the
  // routine keeps its own binding unless `alsoDefining`: the C++ run time
  // calls its own raise routines through its import slots too.
  uintptr_t HookImport(const std::function<bool(const std::string&)>& wanted, const char* routine,
                       uintptr_t replacement, bool alsoDefining = false);
  // Writes every previous value back.
  void RestoreAll();
  size_t SlotCount() const { return FSlots.size(); }

private:
  std::vector<TCrashImportSlot> FSlots;
};

// Writes one pointer-sized slot; a slot made read-only after relocation
// (RELRO) gets its page writable for the write and read-only again after.
bool CrashWriteSlot(uintptr_t* slot, uintptr_t value, bool readOnly);

} // namespace rasp
