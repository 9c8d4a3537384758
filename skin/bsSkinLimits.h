#pragma once
// Limits on what a skin file may ask for; every count and size read from a
// file is checked against them before anything is allocated.

#include <cstddef>
#include <cstdint>

constexpr int kSkinPackageVersion = 3;                      // written; read up to this
constexpr std::size_t kMaxInflatedSkinBytes = 64u << 20;    // one inflated package
constexpr int kMaxSkinPictures = 4096;                      // active pictures of a package
constexpr int kMaxSkinPictureSide = 16384;                  // width or height of one bitmap
// All bitmaps of one package together, in pixels: run-length coded bitmaps
// are small in the file but not in memory.
constexpr std::int64_t kMaxSkinTotalPixels = std::int64_t(16) << 20;
