// The dialog helper's request reader and the report thread's reader of the
// helper's answer. A request that reads must write back to the same
// request: written again and read again, it gives the same text.
#include "crash/protocol/CrashDialogProtocol.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  rasp::CrashDialogReadResult(in);
  // Without the version line nothing past line 1 is read; give it one half
  // of the time so the fuzzer reaches the rest.
  std::string wire = size && !(data[0] & 1) ? std::string(in)
                                            : std::string(rasp::CrashDialogVersionLine) + "\n" + std::string(in);
  rasp::TCrashDialogRequest r;
  std::string error;
  size_t consumed = 0;
  if (!rasp::CrashDialogReadRequest(wire, r, error, &consumed)) {
    if (error.empty())
      __builtin_trap();
    return 0;
  }
  if (consumed > wire.size())
    __builtin_trap();
  std::string once = rasp::CrashDialogWriteRequest(r);
  rasp::TCrashDialogRequest back;
  if (!rasp::CrashDialogReadRequest(once, back, error) || rasp::CrashDialogWriteRequest(back) != once)
    __builtin_trap();
  return 0;
}
