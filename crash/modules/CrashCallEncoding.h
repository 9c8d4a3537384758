#pragma once
// Which x86-64 call instruction, if any, ends exactly at a return address.
//
// The bytes before the return address v are matched against these forms
// (REX is any prefix byte 40..4F; "rm" excludes the SIB and RIP forms):
//
//   E8 rel32                      call rel32                    5
//   [REX] FF D0+r                 call reg                      2 / 3
//   [REX] FF 10+rm                call [reg]                    2 / 3
//   [REX] FF 14 sib               call [base+index*s]           3 / 4
//   [REX] FF 14 sib(base 101) d32 call [index*s+d32]            7 / 8
//   [REX] FF 50+rm d8             call [reg+d8]                 3 / 4
//   [REX] FF 54 sib d8            call [sib+d8]                 4 / 5
//   [REX] FF 90+rm d32            call [reg+d32]                6 / 7
//   [REX] FF 94 sib d32           call [sib+d32]                7 / 8
//   [REX] FF 15 d32               call [rip+d32]                6 / 7
//
// The forms are tried in that order; the first that fits wins.
#include <cstdint>

namespace rasp {

enum TCrashCallKind : uint8_t {
  ckNone,
  ckRelative,     // E8: the target is v + Displacement
  ckRegister,
  ckMemory,       // through a register, a SIB byte or an absolute address
  ckRipRelative,  // FF 15: the slot is at v + Displacement
};

struct TCrashCallMatch {
  TCrashCallKind Kind = ckNone;
  int Length = 0;            // bytes of the call instruction
  int32_t Displacement = 0;  // for ckRelative and ckRipRelative
};

// `before` holds the 8 bytes in front of the return address: before[7] is
// the byte at v - 1, before[0] the one at v - 8.
TCrashCallMatch MatchCallBefore(const uint8_t before[8]);

} // namespace rasp
