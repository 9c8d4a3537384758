#include "app/metafile/EmfCheck.h"

#include <cstddef>
#include <cstdint>

// The check stands between untrusted files and a converter that trusts
// them: it must never read outside the data, and what it passes must fit.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype length = rasp::WellFormedEmfLength(bytes);
    if (length < 0 || length > bytes.size() || (length != 0 && length < 88))
        __builtin_trap();
    return 0;
}
