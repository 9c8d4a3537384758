#pragma once
// Just enough of the zip format to tell what kind of document a zip holds:
// the names of its entries and the content of a small entry. Never trusts a
// size or offset it reads; anything inconsistent reads as "not there".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rasp {

struct TZipEntry {
    std::string name;
    unsigned method = 0;            // 0 stored, 8 deflated
    std::size_t compressedSize = 0;
    std::size_t size = 0;
    std::size_t localHeader = 0;    // offset of the entry's local header
};

// Starts like a zip archive (local header, or the end record of an empty one).
bool LooksLikeZip(std::string_view bytes);

// The entries of the central directory, or, when there is no usable one (a
// cut-off download), the entries whose local headers follow each other from
// the start of the file.
std::vector<TZipEntry> ZipEntries(std::string_view zip);

// The content of an entry, or nothing when it is not stored or deflated,
// damaged, or larger than maxSize.
std::optional<std::string> ZipEntryContent(std::string_view zip, const TZipEntry& entry, std::size_t maxSize);

}  // namespace rasp
