// Fuzzes the crash log reader: splitting a log file into entries and
// finding the header items of the duplicate check.
#include "crash/log/CrashLog.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> entries = rasp::SplitCrashLogEntries(text);
  size_t total = 0;
  for (const std::string& e : entries) {
    total += e.size();
    // Every entry is a piece of the text that ends with three line breaks.
    if (e.size() < 6 || e.compare(e.size() - 6, 6, "\r\n\r\n\r\n") != 0) std::abort();
    for (const char* field : {"2.2", "2.3", "2.4", "2.5"}) {
      std::string value;
      if (rasp::CrashLogEntryField(e, field, value) && value.find("\r\n") != std::string::npos) std::abort();
    }
  }
  if (total > text.size()) std::abort();
  rasp::TLogItem item;
  item.Text = text;
  (void)item.Render();
  return 0;
}
