#pragma once
// The module data block: the options and debug data a module carries.
//
//   offset 0  magic 0x000FAB10
//          4  data version (460 here)
//          6  two 32-bit values, kept and not interpreted
//         14  one zlib stream (version 450 and later) or the payload itself
//
// Payload: the options stream, a 32-bit length d, d bytes of debug data.
// The older appended form (a file that ends with the magic) has no magic of
// its own and is never compressed.
#include "crash/modules/CrashOptions.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rasp {

struct TCrashBlock {
  uint16_t DataVersion = CrashDataVersion;
  std::array<uint32_t, 2> HeaderValues{0, 0};
  std::vector<uint8_t> DebugData;
};

// Reads a block as the ELF section holds it. On success the options are
// loaded from it; a truncated or damaged block changes nothing and returns
// false; `why` (when given) then says what is wrong with it.
bool ReadCrashBlock(std::string_view block, TCrashModuleOptions& options, TCrashBlock& out,
                    std::string* why = nullptr);
// The same for the body of the appended form (version word first).
bool ReadAppendedCrashBlock(std::string_view body, TCrashModuleOptions& options, TCrashBlock& out,
                            std::string* why = nullptr);
// Where the appended form lies in a file that ends with `tail` (the last
// bytes of a file of fileSize bytes): its offset and size, or false.
bool LocateAppendedCrashBlock(std::string_view tail8, uint64_t fileSize, uint64_t& offset, uint64_t& size);

// Writes a block of this system's data version.
std::vector<uint8_t> WriteCrashBlock(const TCrashModuleOptions& options, const std::vector<uint8_t>& debugData,
                                     std::array<uint32_t, 2> headerValues = {0, 0});

} // namespace rasp
