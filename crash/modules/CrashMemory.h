#pragma once
// Reading memory of our own process without touching it: the kernel copies
// it for us (process_vm_readv, or a write into a pipe, which fails with
// EFAULT on an unreadable address). A bad address is an error result, never
// a fault, so the reporter can look at any pointer it finds.
#include <cstddef>
#include <cstdint>

namespace rasp {

class TCrashMemoryProbe {
public:
  enum TMethod { pmAuto, pmVmRead, pmPipe };
  explicit TCrashMemoryProbe(TMethod method = pmAuto);
  ~TCrashMemoryProbe();
  TCrashMemoryProbe(const TCrashMemoryProbe&) = delete;
  TCrashMemoryProbe& operator=(const TCrashMemoryProbe&) = delete;

  // Copies size bytes from address; false unless all of them are readable.
  bool Read(uintptr_t address, void* out, size_t size);
  bool Readable(uintptr_t address, size_t size);
  TMethod Method() const { return FMethod; }

private:
  bool ReadVm(uintptr_t address, void* out, size_t size);
  bool ReadPipe(uintptr_t address, void* out, size_t size);
  TMethod FMethod;
  int FPipe[2] = {-1, -1};
};

} // namespace rasp
