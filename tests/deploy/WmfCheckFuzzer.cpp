#include "app/metafile/WmfCheck.h"

#include <cstddef>
#include <cstdint>

// The check stands between untrusted files and a converter that trusts
// them: it must never read outside the data, and what it passes must fit.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype length = rasp::WellFormedWmfLength(bytes);
    // A header of 18 bytes and an end record of 6 at the least.
    if (length < 0 || length > bytes.size() || (length != 0 && (length < 24 || length % 2 != 0)))
        __builtin_trap();
    return 0;
}
