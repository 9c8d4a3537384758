// Feeds arbitrary bytes to the readers of the data block, the options stream
// and the debug data (with lookups and a full decode of every line table).
#include "crash/modules/CrashDataBlock.h"
#include "crash/modules/CrashDebugData.h"
#include "crash/modules/CrashElf.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace rasp;
  if (size < 1) return 0;
  std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  uint16_t version = uint16_t(400 + data[0] % 70);
  switch (data[0] % 4) {
    case 0: {
      TCrashModuleOptions o("", false);
      TCrashBlock block;
      if (ReadCrashBlock(bytes, o, block)) {
        TCrashDebugData d;
        if (d.Open(block.DebugData, block.DataVersion)) {
          TCrashLineHit hit;
          d.Lookup(0x1000, hit);
        }
      }
      ReadAppendedCrashBlock(bytes, o, block);
      break;
    }
    case 1: {
      TCrashModuleOptions o("", false);
      TByteReader r(bytes.data(), bytes.size());
      o.LoadFromStream(r, version);
      break;
    }
    case 2: {
      TCrashDebugData d;
      if (d.Open(std::vector<uint8_t>(bytes.begin(), bytes.end()), version)) {
        for (const auto& u : d.Units()) {
          DecodeCrashLineTable(d.Table(u), version, u.Start, u.Size, u.FirstLine, std::nullopt, nullptr,
                               [](const TCrashLineRange&) {});
          TCrashLineHit hit;
          d.Lookup(u.Start + u.Size / 2, hit);
        }
        d.FindRoutine("main");
      }
      break;
    }
    default: {
      TElfImage image;
      if (image.Open(bytes.data(), bytes.size())) {
        if (const TElfSection* s = image.FindSection(".cwdata")) image.SectionData(*s);
        image.ForEachFunction([](const TElfSymbol&) {});
        image.BuildId();
      }
      break;
    }
  }
  return 0;
}
