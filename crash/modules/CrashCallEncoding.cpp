#include "crash/modules/CrashCallEncoding.h"

namespace rasp {

namespace {
bool IsRex(uint8_t b) { return b >= 0x40 && b <= 0x4F; }

int32_t Disp32(const uint8_t* p) {
  return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

// The ModRM byte of "call r/m" has reg = 2; mod and rm pick the operand.
enum TModRmForm { mfNone, mfRegister, mfIndirect, mfSib, mfRip, mfDisp8, mfSibDisp8, mfDisp32, mfSibDisp32 };

TModRmForm Form(uint8_t modrm) {
  if (((modrm >> 3) & 7) != 2) return mfNone;
  int mod = modrm >> 6, rm = modrm & 7;
  switch (mod) {
    case 3: return mfRegister;
    case 0: return rm == 4 ? mfSib : rm == 5 ? mfRip : mfIndirect;
    case 1: return rm == 4 ? mfSibDisp8 : mfDisp8;
    default: return rm == 4 ? mfSibDisp32 : mfDisp32;
  }
}

// Bytes that follow the ModRM byte for a form (SIB, displacement).
int Tail(TModRmForm f, uint8_t sib) {
  switch (f) {
    case mfRegister: case mfIndirect: return 0;
    case mfSib: return (sib & 7) == 5 ? 5 : 1;
    case mfRip: case mfDisp32: return 4;
    case mfDisp8: return 1;
    case mfSibDisp8: return 2;
    case mfSibDisp32: return 5;
    default: return -1;
  }
}

// An FF /2 call whose ModRM byte sits at `at` (index into before[]) and
// whose operand ends exactly at v.
bool FitsAt(const uint8_t* b, int at, TModRmForm want) {
  if (at < 1 || b[at - 1] != 0xFF) return false;
  TModRmForm f = Form(b[at]);
  if (f != want) return false;
  uint8_t sib = at + 1 < 8 ? b[at + 1] : 0;
  return at + 1 + Tail(f, sib) == 8;
}
} // namespace

TCrashCallMatch MatchCallBefore(const uint8_t b[8]) {
  TCrashCallMatch m;
  if (b[3] == 0xE8) return {ckRelative, 5, Disp32(b + 4)};

  // Each form, without and with a REX prefix, by the position of its ModRM
  // byte: the instruction is ModRM position - 1 (FF) bytes back from v.
  struct TRow { TModRmForm Form; int ModRmAt; TCrashCallKind Kind; };
  static const TRow rows[] = {
    {mfRegister, 7, ckRegister},
    {mfIndirect, 7, ckMemory},
    {mfSib, 6, ckMemory},
    {mfSib, 2, ckMemory},  // with base 101: SIB and d32 follow
    {mfDisp8, 6, ckMemory},
    {mfSibDisp8, 5, ckMemory},
    {mfDisp32, 3, ckMemory},
    {mfSibDisp32, 2, ckMemory},
    {mfRip, 3, ckRipRelative},
  };
  for (const TRow& row : rows) {
    if (!FitsAt(b, row.ModRmAt, row.Form)) continue;
    int length = 8 - (row.ModRmAt - 1);
    m = {row.Kind, length, 0};
    if (row.Kind == ckRipRelative) m.Displacement = Disp32(b + 4);
    // A REX prefix in front makes the instruction one byte longer.
    if (row.ModRmAt - 2 >= 0 && IsRex(b[row.ModRmAt - 2])) ++m.Length;
    return m;
  }
  return {};
}

} // namespace rasp
