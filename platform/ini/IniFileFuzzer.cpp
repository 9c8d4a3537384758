#include "platform/ini/IniFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// The first bytes choose the section and key to look up; the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const auto cut1 = all.find('\0');
    if (cut1 == std::string_view::npos)
        return 0;
    const auto cut2 = all.find('\0', cut1 + 1);
    if (cut2 == std::string_view::npos)
        return 0;
    const auto value = rasp::ReadIniValue(all.substr(cut2 + 1), all.substr(0, cut1),
                                          all.substr(cut1 + 1, cut2 - cut1 - 1));
    if (value.size() > size)
        __builtin_trap();
    return 0;
}
