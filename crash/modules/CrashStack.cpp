// The raw stack scan: every 8-byte slot of the stack is looked at, and a
// value that points just behind a call instruction becomes an entry. Frames
// are not followed, so old return addresses still lying on the stack are
// listed too.
#include "crash/modules/CrashCallEncoding.h"
#include "crash/modules/CrashMemory.h"
#include "crash/modules/CrashModules.h"

#include <algorithm>
#include <cstring>

namespace rasp {

namespace {
constexpr uintptr_t ScanLimit = 0x100000;  // 1 MiB above the stack pointer
constexpr size_t Window = 400;              // bytes read ahead at a time

// `code` is sorted by start and its ranges do not overlap.
bool InCode(const std::vector<TCrashAddressRange>& code, uintptr_t v) {
  auto it = std::upper_bound(code.begin(), code.end(), v,
                             [](uintptr_t a, const TCrashAddressRange& r) { return a < r.Start; });
  return it != code.begin() && (it - 1)->Contains(v);
}

// Follows a jump thunk (a PLT entry or a plain jmp) to where it leads.
uintptr_t FollowThunk(TCrashMemoryProbe& probe, uintptr_t target) {
  uint8_t code[12];
  if (!probe.Read(target, code, sizeof code)) return target;
  size_t at = 0;
  if (code[0] == 0xF3 && code[1] == 0x0F && code[2] == 0x1E && code[3] == 0xFA) at = 4;  // endbr64
  if (code[at] == 0xF2) ++at;                                                          // bnd
  if (code[at] == 0xFF && code[at + 1] == 0x25) {
    int32_t d;
    std::memcpy(&d, code + at + 2, 4);
    uint64_t slot;
    if (probe.Read(target + at + 6 + uintptr_t(intptr_t(d)), &slot, sizeof slot)) return uintptr_t(slot);
  } else if (code[at] == 0xE9) {
    int32_t d;
    std::memcpy(&d, code + at + 1, 4);
    return target + at + 5 + uintptr_t(intptr_t(d));
  }
  return target;
}
} // namespace

TCrashStackList TCrashModulesList::BuildCallStack(std::optional<uintptr_t> exceptionAddress, uintptr_t sp,
                                                  uintptr_t top) {
  TCrashStackList list;
  if (exceptionAddress) list.Add(ResolveAddress(*exceptionAddress));
  if (top > sp && top - sp > ScanLimit) top = sp + ScanLimit;
  if (top <= sp) return list;

  std::vector<TCrashAddressRange> code;
  for (const TCrashLoadedModule& m : CrashLoadedModules())
    code.insert(code.end(), m.CodeSegments.begin(), m.CodeSegments.end());
  std::sort(code.begin(), code.end(),
            [](const TCrashAddressRange& a, const TCrashAddressRange& b) { return a.Start < b.Start; });
  TCrashMemoryProbe probe;

  uint64_t window[Window / 8];
  uintptr_t windowStart = 0;
  size_t windowSlots = 0;
  for (uintptr_t slot = sp; slot + 8 <= top && slot >= sp; slot += 8) {
    try {
      uint64_t value;
      if (slot >= windowStart + windowSlots * 8 || slot < windowStart) {
        windowStart = slot;
        size_t bytes = std::min<uintptr_t>(Window, (top - slot) & ~uintptr_t(7));
        windowSlots = probe.Read(slot, window, bytes) ? bytes / 8 : 0;
      }
      if (windowSlots) {
        value = window[(slot - windowStart) / 8];
      } else if (!probe.Read(slot, &value, 8)) {
        continue;
      }
      uintptr_t v = uintptr_t(value);
      if (v < 8 || !InCode(code, v - 1)) continue;
      uint8_t before[8];
      if (!probe.Read(v - 8, before, sizeof before)) continue;
      TCrashCallMatch m = MatchCallBefore(before);
      if (m.Kind == ckNone) continue;
      uintptr_t call = v - uintptr_t(m.Length);
      if (m.Kind == ckRelative) {
        uintptr_t target = v + uintptr_t(intptr_t(m.Displacement));
        uint8_t first[5];
        if (!probe.Read(target, first, 1)) continue;
        if (probe.Read(target, first, 5) && first[0] != 0xE8) list.Add(ResolveAddress(FollowThunk(probe, target)));
      } else if (m.Kind == ckRipRelative) {
        uint64_t slotValue;
        if (!probe.Read(v + uintptr_t(intptr_t(m.Displacement)), &slotValue, sizeof slotValue)) continue;
      }
      list.Add(ResolveAddress(call));
    } catch (...) {
      // A value that cannot be examined is passed over.
    }
  }
  return list;
}

} // namespace rasp
