#include "platform/browser/DesktopExec.h"
#include "platform/browser/KeyFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

constexpr std::string_view kUrl = "http://127.0.0.1/a b\"c%u";

// There is always a program, and the URL always arrives whole, as an argument
// or inside one.
void Check(const std::string& exec)
{
    rasp::TDesktopEntry entry{exec, "icon", "Name", "/x.desktop"};
    const auto args = rasp::ExpandDesktopExec(entry, kUrl);
    if (!args)
        return;
    if (args->size() < 2 || args->front().empty())
        __builtin_trap();
    bool found = false;
    for (const auto& a : *args)
        found = found || a.find(kUrl) != std::string::npos;
    if (!found)
        __builtin_trap();
}

} // namespace

// The input is an Exec line, and also a desktop entry whose Exec line is used.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Check(std::string(text));
    if (const auto exec = rasp::KeyFileValue(text, "Desktop Entry", "Exec"))
        Check(rasp::UnescapeKeyFileString(*exec));
    return 0;
}
