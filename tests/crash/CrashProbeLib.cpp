// A small shared library with its own data block, for the tests of modules
// whose file changes or vanishes while they are loaded.
#include <cstdint>

extern "C" __attribute__((noinline, visibility("default"))) uintptr_t crash_probe_lib_routine(int x) {
  asm volatile("" ::: "memory");
  return uintptr_t(x) * 3 + 1;
}
