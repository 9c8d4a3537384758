#pragma once
// Little-endian reading and writing of the reporter's binary formats. The
// reader never trusts a length it finds: every read is checked against what
// is left, and a failed read leaves the reader in a failed state instead of
// touching memory past the end.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace rasp {

class TByteReader {
public:
  TByteReader() = default;
  TByteReader(const void* data, size_t size)
      : FData(static_cast<const uint8_t*>(data)), FSize(size) {}

  bool ok() const { return FOk; }
  size_t position() const { return FPos; }
  size_t left() const { return FOk ? FSize - FPos : 0; }
  bool atEnd() const { return left() == 0; }
  const uint8_t* current() const { return FData + FPos; }
  void fail() { FOk = false; }

  bool skip(size_t n) {
    if (!need(n)) return false;
    FPos += n;
    return true;
  }
  uint8_t u8() { return need(1) ? FData[FPos++] : 0; }
  uint16_t u16() { return static_cast<uint16_t>(uint(2)); }
  uint32_t u32() { return static_cast<uint32_t>(uint(4)); }
  uint64_t u64() { return uint(8); }
  int32_t i32() { return static_cast<int32_t>(u32()); }
  bool boolean() { return u8() != 0; }

  // n raw bytes, or an empty view (and the failed state) when fewer are left.
  std::string_view bytes(size_t n) {
    if (!need(n)) return {};
    std::string_view v(reinterpret_cast<const char*>(FData + FPos), n);
    FPos += n;
    return v;
  }

private:
  bool need(size_t n) {
    if (!FOk || n > FSize - FPos) {
      FOk = false;
      return false;
    }
    return true;
  }
  uint64_t uint(int n) {
    if (!need(size_t(n))) return 0;
    uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | FData[FPos + size_t(i)];
    FPos += size_t(n);
    return v;
  }

  const uint8_t* FData = nullptr;
  size_t FSize = 0;
  size_t FPos = 0;
  bool FOk = true;
};

class TByteWriter {
public:
  void u8(uint8_t v) { FBytes.push_back(v); }
  void u16(uint16_t v) { uint(v, 2); }
  void u32(uint32_t v) { uint(v, 4); }
  void u64(uint64_t v) { uint(v, 8); }
  void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
  void boolean(bool v) { u8(v ? 1 : 0); }
  void bytes(std::string_view s) { FBytes.insert(FBytes.end(), s.begin(), s.end()); }
  void bytes(const std::vector<uint8_t>& b) { FBytes.insert(FBytes.end(), b.begin(), b.end()); }
  void patchU32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) FBytes[at + size_t(i)] = uint8_t(v >> (8 * i));
  }
  size_t size() const { return FBytes.size(); }
  const std::vector<uint8_t>& data() const { return FBytes; }
  std::vector<uint8_t> take() { return std::move(FBytes); }

private:
  void uint(uint64_t v, int n) {
    for (int i = 0; i < n; ++i) FBytes.push_back(uint8_t(v >> (8 * i)));
  }
  std::vector<uint8_t> FBytes;
};

} // namespace rasp
