#pragma once
// Unpacking a compressed skin into a skin folder: the description as it was
// packed, and each bitmap under the file name the description gives it.

#include <QString>

#include <cstdint>
#include <span>

// Writes the skin held in the zlib stream into folder (created if needed).
// Throws ESkinError for a damaged skin or a picture name that is not a plain
// file name (no folder parts, nothing that could leave the folder).
void bsUnpackSkin(std::span<const std::uint8_t> compressed, const QString& folder);
