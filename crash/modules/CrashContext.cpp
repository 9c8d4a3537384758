#include "crash/modules/CrashContext.h"

#include <ucontext.h>

namespace rasp {

void CrashContextFromUcontext(const void* ucontext, TCrashContext& out) {
  const auto* uc = static_cast<const ucontext_t*>(ucontext);
  const greg_t* g = uc->uc_mcontext.gregs;
  out.Rax = uint64_t(g[REG_RAX]);
  out.Rbx = uint64_t(g[REG_RBX]);
  out.Rcx = uint64_t(g[REG_RCX]);
  out.Rdx = uint64_t(g[REG_RDX]);
  out.Rsi = uint64_t(g[REG_RSI]);
  out.Rdi = uint64_t(g[REG_RDI]);
  out.Rbp = uint64_t(g[REG_RBP]);
  out.Rsp = uint64_t(g[REG_RSP]);
  out.R8 = uint64_t(g[REG_R8]);
  out.R9 = uint64_t(g[REG_R9]);
  out.R10 = uint64_t(g[REG_R10]);
  out.R11 = uint64_t(g[REG_R11]);
  out.R12 = uint64_t(g[REG_R12]);
  out.R13 = uint64_t(g[REG_R13]);
  out.R14 = uint64_t(g[REG_R14]);
  out.R15 = uint64_t(g[REG_R15]);
  out.Rip = uint64_t(g[REG_RIP]);
  out.Eflags = uint64_t(g[REG_EFL]);
  out.Valid = true;
}

} // namespace rasp
