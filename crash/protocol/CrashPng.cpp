#include "crash/protocol/CrashPng.h"

#include "platform/base/UniqueFd.h"
#include "platform/base/WriteAll.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

namespace rasp {

namespace {

constexpr size_t kMaxIdat = 0x3FFFF;

const std::array<uint32_t, 256>& CrcTable() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k)
        c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

void Be32(std::string& out, uint32_t v) {
  out += char(v >> 24);
  out += char(v >> 16);
  out += char(v >> 8);
  out += char(v);
}

void Chunk(std::string& out, const char* type, const std::string& data) {
  Be32(out, static_cast<uint32_t>(data.size()));
  std::string td = std::string(type, 4) + data;
  out += td;
  Be32(out, CrashPngCrc(reinterpret_cast<const uint8_t*>(td.data()), td.size()));
}

std::string Encode(uint32_t w, uint32_t h, const uint8_t* rows, size_t stride, int bpp, const uint8_t* palette) {
  if (w == 0 || h == 0 || w > 1u << 16 || h > 1u << 16 || !rows || stride < size_t(w) * bpp)
    return {};
  const size_t rowBytes = size_t(w) * bpp;
  std::string raw;
  raw.reserve((rowBytes + 1) * h);
  for (uint32_t y = 0; y < h; ++y) {
    raw += char(0);  // filter: none
    raw.append(reinterpret_cast<const char*>(rows + y * stride), rowBytes);
  }
  uLongf zlen = compressBound(static_cast<uLong>(raw.size()));
  std::string z(zlen, '\0');
  if (compress2(reinterpret_cast<Bytef*>(z.data()), &zlen, reinterpret_cast<const Bytef*>(raw.data()),
                static_cast<uLong>(raw.size()), 9) != Z_OK)
    return {};
  z.resize(zlen);

  std::string png("\x89PNG\r\n\x1a\n", 8);
  std::string ihdr;
  Be32(ihdr, w);
  Be32(ihdr, h);
  ihdr += char(8);
  ihdr += char(bpp == 1 ? 3 : 2);
  ihdr += std::string(3, '\0');
  Chunk(png, "IHDR", ihdr);
  if (palette)
    Chunk(png, "PLTE", std::string(reinterpret_cast<const char*>(palette), 768));
  for (size_t pos = 0; pos < z.size(); pos += kMaxIdat)
    Chunk(png, "IDAT", z.substr(pos, kMaxIdat));
  Chunk(png, "IEND", {});
  return png;
}

} // namespace

uint32_t CrashPngCrc(const uint8_t* data, size_t size, uint32_t crc) {
  const auto& t = CrcTable();
  crc = ~crc;
  for (size_t i = 0; i < size; ++i)
    crc = t[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::string CrashPngEncodeRgb(uint32_t width, uint32_t height, const uint8_t* rows, size_t stride) {
  return Encode(width, height, rows, stride, 3, nullptr);
}

std::string CrashPngEncodeIndexed(uint32_t width, uint32_t height, const uint8_t* rows, size_t stride,
                                  const uint8_t* palette768) {
  if (!palette768)
    return {};
  return Encode(width, height, rows, stride, 1, palette768);
}

bool CrashWriteFile(const std::string& path, const std::string& bytes) {
  TUniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  return fd && WriteAll(fd.Get(), bytes) && fd.Reset() == 0;
}

} // namespace rasp
