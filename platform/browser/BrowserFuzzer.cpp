#include "platform/browser/BrowserCommand.h"
#include "platform/browser/KeyFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// A desktop entry as the input: its Exec line is reduced to a browser the way
// the launcher does it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto exec = rasp::KeyFileValue(text, "Desktop Entry", "Exec")) {
        const auto command = rasp::UnescapeKeyFileString(*exec);
        const auto browser = rasp::BrowserExecutable(command);
        if (browser.size() > command.size() + 4)
            __builtin_trap();
    }
    (void)rasp::BrowserExecutable(text);
    return 0;
}
