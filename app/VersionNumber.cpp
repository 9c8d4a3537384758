#include "app/VersionNumber.h"

#include <charconv>
#include <cmath>

namespace rasp {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

} // namespace

std::optional<float> ParseVersion(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    if (text.starts_with('+'))
        text.remove_prefix(1);
    // Only plain decimal notation: no "inf", "nan" or hexadecimal.
    if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string_view::npos)
        return std::nullopt;
    float value = 0.0f;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

float VersionFromText(std::string_view text) { return ParseVersion(text).value_or(0.0f); }

std::string VersionText(float value)
{
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                            std::chars_format::general, 15);
    return error == std::errc() ? std::string(buffer, end) : std::string();
}

} // namespace rasp
