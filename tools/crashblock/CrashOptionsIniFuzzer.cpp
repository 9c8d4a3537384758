// The build tool's reader of options files on any text. A file is taken
// whole or refused with the line that is wrong; what it took is written
// back in a form that reads to the same options, byte for byte, and the
// options survive the data block's stream as well.
#include "tools/crashblock/CrashOptionsIni.h"

#include "crash/CrashBytes.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace rasp;
  const std::string text(reinterpret_cast<const char*>(data), size);
  TCrashModuleOptions options("", false);
  const std::string before = WriteCrashOptionsIni(options);
  std::string error;
  if (!ReadCrashOptionsIni(text, options, error)) {
    // Refused: the line is named and nothing was changed.
    if (error.rfind("line ", 0) != 0 || WriteCrashOptionsIni(options) != before) std::abort();
    return 0;
  }
  const std::string written = WriteCrashOptionsIni(options);
  TCrashModuleOptions again("", false);
  if (!ReadCrashOptionsIni(written, again, error) || WriteCrashOptionsIni(again) != written) std::abort();

  TByteWriter out;
  options.SaveToStream(out);
  TByteReader in(out.data().data(), out.data().size());
  TCrashModuleOptions streamed("", false);
  if (!streamed.LoadFromStream(in) || WriteCrashOptionsIni(streamed) != written) std::abort();
  return 0;
}
