#pragma once
// A small PNG writer on zlib, so that the screenshot of a failing program
// needs no image plugins.
#include <cstddef>
#include <cstdint>
#include <string>

namespace rasp {

// 8-bit rows, top to bottom, `stride` bytes apart. RGB rows (3 bytes a pixel)
// give colour type 2; indexed rows (1 byte a pixel) with a 256-entry R, G, B
// palette give colour type 3. Empty on bad sizes or a zlib failure.
std::string CrashPngEncodeRgb(uint32_t width, uint32_t height, const uint8_t* rows, size_t stride);
std::string CrashPngEncodeIndexed(uint32_t width, uint32_t height, const uint8_t* rows, size_t stride,
                                  const uint8_t* palette768);

// The CRC-32 of PNG chunks (polynomial 0xEDB88320).
uint32_t CrashPngCrc(const uint8_t* data, size_t size, uint32_t crc = 0);

// Writes the bytes to a new file (mode 0600); false on any failure.
bool CrashWriteFile(const std::string& path, const std::string& bytes);

} // namespace rasp
