#include "platform/textload/ZipDirectory.h"

#include <zlib.h>

#include <cstdint>

namespace rasp {

namespace {

constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::uint32_t kCentralHeader = 0x02014b50;
constexpr std::uint32_t kEndRecord = 0x06054b50;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kMaxComment = 65535;
// Real documents have a few hundred entries; a directory claiming far more
// is not one we need to read to the end.
constexpr std::size_t kMaxEntries = 65536;

std::uint32_t Le(std::string_view b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

bool Has(std::string_view b, std::size_t at, std::size_t n) { return at <= b.size() && n <= b.size() - at; }

std::optional<std::size_t> FindEndRecord(std::string_view zip) {
    if (zip.size() < kEndRecordSize) return std::nullopt;
    const std::size_t last = zip.size() - kEndRecordSize;
    const std::size_t first = last > kMaxComment ? last - kMaxComment : 0;
    for (std::size_t at = last + 1; at-- > first;) {
        if (Le(zip, at, 4) == kEndRecord && at + kEndRecordSize + Le(zip, at + 20, 2) == zip.size()) return at;
    }
    return std::nullopt;
}

std::vector<TZipEntry> CentralEntries(std::string_view zip) {
    std::vector<TZipEntry> entries;
    const auto end = FindEndRecord(zip);
    if (!end) return entries;
    const std::size_t count = Le(zip, *end + 10, 2);
    std::size_t at = Le(zip, *end + 16, 4);
    for (std::size_t i = 0; i < count && i < kMaxEntries; ++i) {
        if (!Has(zip, at, 46) || Le(zip, at, 4) != kCentralHeader) return {};
        const std::size_t nameLength = Le(zip, at + 28, 2);
        const std::size_t extra = Le(zip, at + 30, 2) + Le(zip, at + 32, 2);
        if (!Has(zip, at + 46, nameLength + extra)) return {};
        entries.push_back({std::string(zip.substr(at + 46, nameLength)), Le(zip, at + 10, 2), Le(zip, at + 20, 4),
                           Le(zip, at + 24, 4), Le(zip, at + 42, 4)});
        at += 46 + nameLength + extra;
    }
    return entries;
}

std::vector<TZipEntry> LocalEntries(std::string_view zip) {
    std::vector<TZipEntry> entries;
    std::size_t at = 0;
    while (entries.size() < kMaxEntries && Has(zip, at, 30) && Le(zip, at, 4) == kLocalHeader) {
        const std::size_t nameLength = Le(zip, at + 26, 2);
        const std::size_t extra = Le(zip, at + 28, 2);
        if (!Has(zip, at + 30, nameLength + extra)) break;
        TZipEntry entry{std::string(zip.substr(at + 30, nameLength)), Le(zip, at + 8, 2), Le(zip, at + 18, 4),
                        Le(zip, at + 22, 4), at};
        const bool sizesFollowData = (Le(zip, at + 6, 2) & 0x08) != 0;
        entries.push_back(std::move(entry));
        // Without the sizes up front the next header cannot be found.
        if (sizesFollowData) break;
        const std::size_t next = at + 30 + nameLength + extra;
        if (!Has(zip, next, entries.back().compressedSize)) break;
        at = next + entries.back().compressedSize;
    }
    return entries;
}

std::optional<std::string> Inflate(std::string_view data, std::size_t maxSize) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return std::nullopt;
    std::string out(maxSize + 1, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    const std::size_t produced = out.size() - stream.avail_out;
    inflateEnd(&stream);
    if (result != Z_STREAM_END || produced > maxSize) return std::nullopt;
    out.resize(produced);
    return out;
}

}  // namespace

bool LooksLikeZip(std::string_view bytes) {
    return bytes.size() >= 4 && (Le(bytes, 0, 4) == kLocalHeader || Le(bytes, 0, 4) == kEndRecord);
}

std::vector<TZipEntry> ZipEntries(std::string_view zip) {
    std::vector<TZipEntry> entries = CentralEntries(zip);
    return entries.empty() ? LocalEntries(zip) : entries;
}

std::optional<std::string> ZipEntryContent(std::string_view zip, const TZipEntry& entry, std::size_t maxSize) {
    const std::size_t at = entry.localHeader;
    if (!Has(zip, at, 30) || Le(zip, at, 4) != kLocalHeader) return std::nullopt;
    const std::size_t start = at + 30 + Le(zip, at + 26, 2) + Le(zip, at + 28, 2);
    if (!Has(zip, start, entry.compressedSize)) return std::nullopt;
    const std::string_view data = zip.substr(start, entry.compressedSize);
    if (entry.method == 0) {
        if (data.size() > maxSize) return std::nullopt;
        return std::string(data);
    }
    if (entry.method == 8) return Inflate(data, maxSize);
    return std::nullopt;
}

}  // namespace rasp
