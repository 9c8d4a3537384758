#pragma once
// One zlib stream (header, deflate data, Adler-32 trailer) in and out of memory.

#include <cstdint>
#include <span>
#include <vector>

// Inflates the stream in 4,096-byte steps, appending to target. Bytes after
// the end of the stream are ignored. Throws ESkinError ("compression error")
// for data that is not a complete zlib stream, and stops with an error as
// soon as the output would grow beyond maxBytes.
void bsInflate(std::span<const std::uint8_t> compressed, std::vector<std::uint8_t>& target,
               std::size_t maxBytes);

// Compresses at the highest level.
std::vector<std::uint8_t> bsDeflate(std::span<const std::uint8_t> data);
