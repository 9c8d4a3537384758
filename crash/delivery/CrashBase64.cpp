#include "crash/delivery/CrashBase64.h"

#include <cstdint>

namespace rasp {

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

void EncodeChunk(std::string& out, std::string_view in) {
  size_t i = 0;
  for (; i + 3 <= in.size(); i += 3) {
    uint32_t v = (uint8_t(in[i]) << 16) | (uint8_t(in[i + 1]) << 8) | uint8_t(in[i + 2]);
    out += kAlphabet[v >> 18];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += kAlphabet[v & 63];
  }
  size_t rest = in.size() - i;
  if (rest == 0)
    return;
  uint32_t v = uint8_t(in[i]) << 16;
  if (rest == 2)
    v |= uint8_t(in[i + 1]) << 8;
  out += kAlphabet[v >> 18];
  out += kAlphabet[(v >> 12) & 63];
  out += rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
  out += '=';
}
} // namespace

std::string CrashBase64(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  EncodeChunk(out, bytes);
  return out;
}

std::string CrashBase64Lines(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4 + bytes.size() / 30 + 2);
  for (size_t pos = 0; pos < bytes.size(); pos += 60) {
    EncodeChunk(out, bytes.substr(pos, 60));
    out += "\r\n";
  }
  return out;
}

} // namespace rasp
