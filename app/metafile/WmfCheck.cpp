#include "app/metafile/WmfCheck.h"

#include <QtEndian>

#include <cstdint>

namespace rasp {
namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr qsizetype kPlaceableSize = 22;
constexpr qsizetype kHeaderSize = 18;
constexpr std::uint16_t kEof = 0x0000;
constexpr qsizetype kMaxRecords = 1'000'000;

std::uint16_t Word(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<std::uint16_t>(b.constData() + at);
}

std::uint32_t Dword(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<std::uint32_t>(b.constData() + at);
}

} // namespace

qsizetype WellFormedWmfLength(const QByteArray& b)
{
    qsizetype at = 0;
    if (b.size() >= 4 && Dword(b, 0) == kPlaceableKey)
        at = kPlaceableSize;
    if (b.size() - at < kHeaderSize)
        return 0;
    // Type (in memory or on disk), header size in words, version, file size,
    // objects, largest record in words, and an unused count.
    const std::uint16_t type = Word(b, at);
    const std::uint16_t version = Word(b, at + 4);
    if ((type != 1 && type != 2) || Word(b, at + 2) != kHeaderSize / 2 || (version != 0x0100 && version != 0x0300))
        return 0;
    const std::uint64_t maxRecord = Dword(b, at + 12);
    at += kHeaderSize;
    for (qsizetype count = 0; count < kMaxRecords; ++count) {
        if (b.size() - at < 6)
            return 0;
        // A record's size in words counts its own size and function fields.
        const std::uint64_t words = Dword(b, at);
        if (words < 3 || words > maxRecord || words * 2 > std::uint64_t(b.size() - at))
            return 0;
        const std::uint16_t function = Word(b, at + 4);
        at += qsizetype(words * 2);
        if (function == kEof)
            return at;
    }
    return 0;
}

} // namespace rasp
