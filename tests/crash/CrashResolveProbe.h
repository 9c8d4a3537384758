#pragma once
// Routines at known lines of a known file, for the resolution tests.
#include <cstdint>

namespace crashprobe {

class TResolveProbe {
public:
  // Returns the address its caller continues at (a return address).
  static uintptr_t KnownRoutine(int depth);
  static int KnownRoutineLine();
  // The line of the call inside CallSite and the return address behind it.
  static uintptr_t CallSite(int& callLine);
};

} // namespace crashprobe

extern "C" uintptr_t crash_probe_plain_function(int x);
