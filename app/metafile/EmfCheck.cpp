#include "app/metafile/EmfCheck.h"

#include <QtEndian>

#include <cstdint>

namespace rasp {
namespace {

constexpr std::uint32_t kHeader = 1;
constexpr std::uint32_t kEof = 14;
constexpr qsizetype kHeaderSize = 88;
constexpr qsizetype kMaxRecords = 1'000'000;

std::uint32_t Dword(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<std::uint32_t>(b.constData() + at);
}

// A piece of count bytes at offset, which must lie in the header after its
// fixed part.
bool PieceInHeader(std::uint64_t offset, std::uint64_t count, std::uint64_t headerSize)
{
    return count == 0 || (offset >= kHeaderSize && offset + count <= headerSize);
}

bool HeaderIsSound(const QByteArray& b, std::uint32_t size)
{
    if (size < kHeaderSize || Dword(b, 40) != 0x464D4520)
        return false;
    // Description: UTF-16 characters.
    if (!PieceInHeader(Dword(b, 68), std::uint64_t(Dword(b, 64)) * 2, size))
        return false;
    // Pixel format descriptor and OpenGL flag of the longer headers.
    if (size >= 100 && !PieceInHeader(Dword(b, 92), Dword(b, 88), size))
        return false;
    return true;
}

} // namespace

qsizetype WellFormedEmfLength(const QByteArray& b)
{
    qsizetype at = 0;
    for (qsizetype count = 0; count < kMaxRecords; ++count) {
        if (b.size() - at < 8)
            return 0;
        const std::uint32_t type = Dword(b, at);
        const std::uint32_t size = Dword(b, at + 4);
        if (size < 8 || size % 4 != 0 || size > std::uint64_t(b.size() - at))
            return 0;
        if ((at == 0) != (type == kHeader))
            return 0;
        if (at == 0 && !HeaderIsSound(b, size))
            return 0;
        at += size;
        if (type == kEof)
            return at;
    }
    return 0;
}

} // namespace rasp
