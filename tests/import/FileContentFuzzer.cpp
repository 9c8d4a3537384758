// The content check on any bytes: it answers, never reads outside them, and
// never calls something that is not text plain text without a reason.

#include "platform/textload/FileContent.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const rasp::TContentCheck check = rasp::CheckFileContent(bytes);
    if ((check.kind == rasp::TContentKind::NotText) == check.reason.empty()) std::abort();
    return 0;
}
