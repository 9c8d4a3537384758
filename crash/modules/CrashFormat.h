#pragma once
// How the reporter writes addresses: 16 upper-case hex digits, the width of
// an x86-64 address.
#include <cstdint>
#include <cstdio>
#include <string>

namespace rasp {

inline std::string CrashHexAddress(uintptr_t address) {
  char buf[17];
  std::snprintf(buf, sizeof buf, "%016llX", static_cast<unsigned long long>(address));
  return buf;
}

} // namespace rasp
