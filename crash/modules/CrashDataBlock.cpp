#include "crash/modules/CrashDataBlock.h"

#include <zlib.h>

#include <algorithm>

namespace rasp {

namespace {
// Inflates one complete zlib stream of at most CrashMaxPayload bytes; any
// other input is refused.
bool Inflate(std::string_view in, std::vector<uint8_t>& out) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  z.avail_in = uInt(in.size());
  out.clear();
  int rc = Z_OK;
  while (rc == Z_OK) {
    if (out.size() >= CrashMaxPayload) break;
    size_t have = out.size();
    size_t grow = std::min<size_t>(std::max<size_t>(have, 1 << 16), CrashMaxPayload - have);
    out.resize(have + grow);
    z.next_out = out.data() + have;
    z.avail_out = uInt(grow);
    rc = inflate(&z, Z_NO_FLUSH);
    out.resize(have + grow - z.avail_out);
    if (rc == Z_BUF_ERROR && z.avail_in == 0) break;  // input ended early
  }
  inflateEnd(&z);
  return rc == Z_STREAM_END;
}

bool Fail(std::string* why, const char* reason) {
  if (why) *why = reason;
  return false;
}

bool ReadPayload(std::string_view payload, uint16_t version, TCrashModuleOptions& options, TCrashBlock& out,
                 std::string* why) {
  TByteReader r(payload.data(), payload.size());
  TCrashModuleOptions scratch("", false);
  scratch.Assign(&options);
  if (!scratch.LoadFromStream(r, version)) return Fail(why, "the options stream is truncated or damaged");
  uint32_t d = r.u32();
  std::string_view debug = r.bytes(d);
  if (!r.ok()) return Fail(why, "the debug data is truncated");
  out.DataVersion = version;
  out.DebugData.assign(debug.begin(), debug.end());
  options.Assign(&scratch);
  return true;
}
} // namespace

bool ReadCrashBlock(std::string_view block, TCrashModuleOptions& options, TCrashBlock& out, std::string* why) {
  TByteReader r(block.data(), block.size());
  if (r.u32() != CrashBlockMagic) return Fail(why, "it does not begin with the block's magic number");
  uint16_t version = r.u16();
  std::array<uint32_t, 2> header{r.u32(), r.u32()};
  if (!r.ok()) return Fail(why, "its header is truncated");
  std::string_view rest = block.substr(r.position());
  TCrashBlock result;
  result.HeaderValues = header;
  bool ok;
  if (version >= 450) {
    std::vector<uint8_t> payload;
    if (!Inflate(rest, payload)) return Fail(why, "its compressed data does not inflate");
    ok = ReadPayload({reinterpret_cast<const char*>(payload.data()), payload.size()}, version, options, result,
                     why);
  } else {
    ok = ReadPayload(rest, version, options, result, why);
  }
  if (ok) out = std::move(result);
  return ok;
}

bool ReadAppendedCrashBlock(std::string_view body, TCrashModuleOptions& options, TCrashBlock& out,
                            std::string* why) {
  TByteReader r(body.data(), body.size());
  uint16_t version = r.u16();
  std::array<uint32_t, 2> header{r.u32(), r.u32()};
  if (!r.ok()) return Fail(why, "its header is truncated");
  TCrashBlock result;
  result.HeaderValues = header;
  if (!ReadPayload(body.substr(r.position()), version, options, result, why)) return false;
  out = std::move(result);
  return true;
}

bool LocateAppendedCrashBlock(std::string_view tail8, uint64_t fileSize, uint64_t& offset, uint64_t& size) {
  if (tail8.size() != 8 || fileSize < 8) return false;
  TByteReader r(tail8.data(), tail8.size());
  uint32_t b = r.u32();
  if (r.u32() != CrashBlockMagic || b > fileSize - 8 || b > CrashMaxPayload) return false;
  offset = fileSize - 8 - b;
  size = b;
  return true;
}

std::vector<uint8_t> WriteCrashBlock(const TCrashModuleOptions& options, const std::vector<uint8_t>& debugData,
                                     std::array<uint32_t, 2> headerValues) {
  TByteWriter payload;
  options.SaveToStream(payload);
  payload.u32(uint32_t(debugData.size()));
  payload.bytes(debugData);

  uLongf packedSize = compressBound(uLong(payload.size()));
  std::vector<uint8_t> packed(packedSize);
  compress2(packed.data(), &packedSize, payload.data().data(), uLong(payload.size()), Z_BEST_COMPRESSION);
  packed.resize(packedSize);

  TByteWriter block;
  block.u32(CrashBlockMagic);
  block.u16(CrashDataVersion);
  block.u32(headerValues[0]);
  block.u32(headerValues[1]);
  block.bytes(packed);
  return block.take();
}

} // namespace rasp
