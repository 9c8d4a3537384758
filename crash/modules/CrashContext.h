#pragma once
// The processor registers of a failing thread (x86-64), as the report shows
// them. Filled from a signal's context or, at a C++ raise, from the
// registers the raise routine sees.
#include <cstdint>

namespace rasp {

struct TCrashContext {
  bool Valid = false;
  uint64_t Rax = 0, Rbx = 0, Rcx = 0, Rdx = 0, Rsi = 0, Rdi = 0, Rbp = 0, Rsp = 0;
  uint64_t R8 = 0, R9 = 0, R10 = 0, R11 = 0, R12 = 0, R13 = 0, R14 = 0, R15 = 0;
  uint64_t Rip = 0, Eflags = 0;
};

// Copies the general registers of a signal's ucontext_t.
void CrashContextFromUcontext(const void* ucontext, TCrashContext& out);

} // namespace rasp
