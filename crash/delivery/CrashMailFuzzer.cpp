// The two readers of network answers in the mail delivery: the DNS MX answer
// parser and the SMTP reply reader. The first byte picks the reader.
#include "crash/delivery/CrashDns.h"
#include "crash/delivery/CrashSockets.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0)
    return 0;
  std::string_view in(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] & 1) {
    std::string host, error;
    rasp::CrashDnsParseMx(in, rasp::CrashDnsQueryId, &host, &error);
    if (host.size() > 253)
      __builtin_trap();
  } else {
    int code = 0;
    size_t len;
    while ((len = rasp::CrashSmtpReplyLength(in, &code)) != 0) {
      if (len > in.size())
        __builtin_trap();
      in.remove_prefix(len);
    }
  }
  return 0;
}
