#include "tests/crash/CrashResolveProbe.h"

namespace crashprobe {

int TResolveProbe::KnownRoutineLine() { return __LINE__ + 2; }

__attribute__((noinline)) uintptr_t TResolveProbe::KnownRoutine(int depth) {
  asm volatile("" ::: "memory");
  if (depth < 0) return 0;
  return reinterpret_cast<uintptr_t>(__builtin_return_address(0));
}

__attribute__((noinline)) uintptr_t TResolveProbe::CallSite(int& callLine) {
  callLine = __LINE__ + 1;
  uintptr_t ret = KnownRoutine(1);
  asm volatile("" ::: "memory");
  return ret;
}

} // namespace crashprobe

extern "C" __attribute__((noinline)) uintptr_t crash_probe_plain_function(int x) {
  asm volatile("" ::: "memory");
  return uintptr_t(x) + 1;
}
