#pragma once
// The skin package: version, the three frame-picture slots, the active
// pictures and the description text, all in one byte string.

#include <QImage>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct TbsSkinPackage {
  int Version = 3;
  QImage FramePicture;          // null: the slot is empty
  QImage InactiveFramePicture;
  QImage FrameMask;
  std::vector<QImage> Pictures;
  std::string Description;      // 8-bit text, to the end of the package
};

// Reads a package. A version above 3 is not an error: the result carries the
// version and nothing else, and the caller decides. Throws ESkinError for a
// truncated package, a bad bitmap or a count beyond the limits.
TbsSkinPackage bsReadSkinPackage(std::span<const std::uint8_t> bytes);

// Writes a version-3 package.
std::vector<std::uint8_t> bsWriteSkinPackage(const TbsSkinPackage& package);
